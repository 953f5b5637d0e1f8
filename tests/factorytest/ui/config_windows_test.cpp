#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "../../app/ui/window_fixture.h"
#include "app/startup.h"
#include "factorytest/ui/conf_jxv4174.h"
#include "factorytest/ui/conf_jxv7593.h"
#include "factorytest/ui/frm_q7r218.h"
#include "platform/window_fit.h"

namespace {

struct InternalShell {
    InternalShell() {
        f.window = std::make_unique<MainWindow>(f.ctx, f.procs);
        BuildFlags internal = ThisBuild;
        internal.Internal = -1;
        Main(f.ctx, f.window.get(), {internal, folder.path().toStdString()});
        f.window->bindCommands();
    }
    template <class W> W* open(const char* item) {
        f.window->menuItem(item)->trigger();
        f.window->menuItem(item)->trigger();
        return qobject_cast<W*>(subWindowContent(f.window->mdi()->activeSubWindow()));
    }
    QTemporaryDir folder;
    WindowFixture f;
};

template <class T> T* child(QWidget* w, const char* name) {
    return w->findChild<T*>(name);
}

TEST(FactoryConfigWindows, EachOpensOnceAndShowsItsState) {
    InternalShell s;
    auto* analog = s.open<ConfJXV7593>("mnu_config_7593");
    auto* multi = s.open<ConfJXV4174>("mnu_coll_4174");
    auto* meter = s.open<frm_Q7R218>("mnu_collQ7R218");
    ASSERT_TRUE(analog && multi && meter);
    const auto subs = s.f.window->mdi()->subWindowList();
    for (const char* name : {"ConfJXV7593", "ConfJXV4174", "frm_Q7R218"})
        EXPECT_EQ(std::count_if(subs.begin(), subs.end(),
                                [&](QMdiSubWindow* w) { return w->objectName() == name; }),
                  1);

    EXPECT_EQ(analog->windowTitle(), "Collaudo JXV7209");
    analog->SetDefault[1]->click();
    EXPECT_EQ(analog->cmb_InputType[0]->currentText(), "10 V");
    EXPECT_EQ(analog->cmb_InputType[2]->currentText(), "---");
    EXPECT_EQ(child<QLineEdit>(analog, "AddSlave")->text(), "246");
    EXPECT_TRUE(analog->chk_Mux[0][0]->isChecked());
    EXPECT_TRUE(analog->chk_Mux[0][0]->styleSheet().contains("FF0000"));
    analog->chk_Mux[3][5]->click();
    EXPECT_TRUE(analog->chk_Mux[3][5]->styleSheet().contains("FF0000"));
    auto* measured = child<QLineEdit>(analog, "txt_Input_Mis_0");
    measured->setText("");
    measured->insert("20000");
    EXPECT_EQ(child<QLineEdit>(analog, "txt_Input_K_0")->text(), "0.5");

    EXPECT_FALSE(multi->input_ty->isVisibleTo(multi));
    multi->device_ty->setCurrentIndex(1);
    emit multi->device_ty->activated(1);
    EXPECT_TRUE(multi->input_ty->isVisibleTo(multi));
    EXPECT_EQ(multi->input_ty->count(), 2);
    EXPECT_EQ(child<QLineEdit>(multi, "txt_Input_Type_3")->text(), "7");

    EXPECT_EQ(meter->lists[0]->objectName(), "List1");
    EXPECT_EQ(meter->lists[3]->objectName(), "List2");
    EXPECT_TRUE(meter->cmd_Read->isEnabled());
}

} // namespace
