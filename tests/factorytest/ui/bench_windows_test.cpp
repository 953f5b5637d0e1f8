// frm_collaudo and frm_coll_NWAC: opened from the factory menu, and driven by their controls.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>

#include "../../app/ui/window_fixture.h"
#include "../controller_world.h"
#include "../nwac_world.h"
#include "app/startup.h"
#include "factorytest/ui/bench_widgets.h"
#include "factorytest/ui/frm_coll_nwac.h"
#include "factorytest/ui/frm_collaudo.h"

namespace {

TEST(FactoryMenu, TheControllerAndProductBenchesOpenOnceEach) {
    QTemporaryDir folder;
    WindowFixture f;
    f.window = std::make_unique<MainWindow>(f.ctx, f.procs);
    BuildFlags internal = ThisBuild;
    internal.Internal = -1;
    Main(f.ctx, f.window.get(), {internal, folder.path().toStdString()});
    f.window->bindCommands();
    for (auto [item, name] : {std::pair{"mnu_coll", "frm_collaudo"}, {"mnu_coll_NWAC", "frm_coll_NWAC"}}) {
        f.window->menuItem(item)->trigger();
        f.window->menuItem(item)->trigger();
        const auto subs = f.window->mdi()->subWindowList();
        EXPECT_EQ(std::count_if(subs.begin(), subs.end(),
                                [&](QMdiSubWindow* s) { return s->objectName() == name; }),
                  1);
        EXPECT_EQ(f.window->mdi()->activeSubWindow()->objectName(), name);
    }
    auto* product = qobject_cast<frm_coll_NWAC*>(f.window->mdi()->activeSubWindow()->widget());
    ASSERT_NE(product, nullptr);
    EXPECT_FALSE(product->Frame1->isEnabled() || product->Frame5->isEnabled());
    f.window->menuItem("mnu_coll")->trigger();
    auto* controller = qobject_cast<frm_collaudo*>(f.window->mdi()->activeSubWindow()->widget());
    ASSERT_NE(controller, nullptr);
    EXPECT_EQ(controller->txt_mese->count(), 12);
    EXPECT_EQ(controller->txt_eut_mod->count(), 4);
    EXPECT_EQ(controller->txt_mult_port->currentText(), "MANUALE");
}

TEST(frm_collaudo, StartIsLockedDuringARunAndTheClockStepShowsItsResult) {
    ControllerWorld w;
    frm_collaudo window(w.bench, {"A", "B", "C", "D"},
                        {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"});
    window.chk_controlli[1]->setChecked(true);
    window.chk_collaudo[10]->setChecked(true);
    bool locked = false;
    w.pump.onEvents = [&] { locked = locked || !window.cmd_start->isEnabled(); };
    window.cmd_start->click();
    EXPECT_TRUE(locked);
    EXPECT_TRUE(window.cmd_start->isEnabled());
    EXPECT_EQ(window.chk_collaudo[10]->styleSheet(), BenchBackground(ColourGreen));
    EXPECT_TRUE(window.chk_collaudo[7]->styleSheet().isEmpty());
    EXPECT_EQ(window.txt_mese->currentIndex(), 1);
    EXPECT_EQ(window.txt_ore->text(), "9");
}

TEST(frm_coll_NWAC, TheBenchTimerRunsOnlyWhileConnected) {
    NwacWorld w;
    frm_coll_NWAC window(w.bench);
    w.outputs.setInput(8, 256);
    window.cmd_connetti[0]->click();
    EXPECT_TRUE(window.Frame1->isEnabled());
    ASSERT_TRUE(window.Timer.isActive());
    w.bench.Timer_Timer();                                               // what the timer calls
    EXPECT_NE(window.led[0]->styleSheet(), window.led[1]->styleSheet()); // "V" lit, "R" dark
    window.cmd_connetti[1]->click();
    EXPECT_FALSE(window.Timer.isActive() || window.Frame1->isEnabled());
}

} // namespace
