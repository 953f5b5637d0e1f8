#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

#include "../../app/ui/window_fixture.h"
#include "../bench_world.h"
#include "app/startup.h"
#include "factorytest/ui/coll7593.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

namespace {

TEST(FactoryMenu, InternalBuildShowsItAndOpensTheBenchOnce) {
    QTemporaryDir folder;
    WindowFixture f;
    f.window = std::make_unique<MainWindow>(f.ctx, f.procs);
    BuildFlags internal = ThisBuild;
    internal.Internal = -1;
    Main(f.ctx, f.window.get(), {internal, folder.path().toStdString()});
    f.window->bindCommands();
    EXPECT_TRUE(f.window->menuItem("mnu_collaudo")->isVisible());
    // Every factory item has its window in this build.
    for (const char* item : {"mnu_coll_7593", "mnu_config_7593", "mnu_coll_4174", "mnu_coll_NWAC", "mnu_collQ7R218",
                             "mnu_coll"})
        EXPECT_TRUE(f.window->menuItem(item)->isEnabled()) << item;
    f.window->menuItem("mnu_coll_7593")->trigger();
    f.window->menuItem("mnu_coll_7593")->trigger();
    const auto subs = f.window->mdi()->subWindowList();
    EXPECT_EQ(std::count_if(subs.begin(), subs.end(), [](QMdiSubWindow* s) { return s->objectName() == "coll7593"; }),
              1);
    auto* bench = qobject_cast<Coll7593*>(f.window->mdi()->activeSubWindow()->widget());
    ASSERT_NE(bench, nullptr);
    EXPECT_EQ(bench->lst_device->count(), 4);
    EXPECT_FALSE(bench->cmd_start->isEnabled()); // no model chosen yet
}

TEST(Coll7593, ARunLocksEverythingButStopAndShowsItsResults) {
    BenchWorld w(0);
    Coll7593 window(w.bench);
    window.lst_device->setCurrentRow(1);
    EXPECT_EQ(window.rows[1].chk_coll->text(), "#0 - Res L");
    EXPECT_FALSE(window.rows[5].chk_coll->isChecked());
    for (int i = 0; i < BenchRowCount; ++i)
        window.rows[static_cast<size_t>(i)].chk_coll->setChecked(i == 1);
    bool lockedDuringRun = false;
    w.dialogs.onPrompt = [&](const std::string&) {
        lockedDuringRun = !window.cmd_start->isEnabled() && !window.lst_device->isEnabled() &&
                          !window.rows[2].cmd_coll->isEnabled() && window.cmd_stop->isEnabled();
    };
    window.cmd_start->click();
    EXPECT_TRUE(lockedDuringRun);
    EXPECT_TRUE(window.cmd_start->isEnabled());
    EXPECT_EQ(window.rows[1].labels[3]->text(), "309.00 (0.9709)"); // 309 ohm read for 300
    EXPECT_TRUE(window.rows[1].labels[2]->styleSheet().contains("rgb(0,255,0)"));
    EXPECT_FALSE(window.Label1->text().isEmpty());
}

} // namespace
