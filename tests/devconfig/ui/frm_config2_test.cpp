// The configuration window draws the layout of its model and hands the user's choices back.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QTabBar>

#include "core/language.h"
#include "devconfig/ui/frm_config2.h"
#include "support/sim_session.h"

namespace {

TEST(frm_Config2, ShowsTheModelsPageAndFollowsTabsAndLanguage) {
    SimSession s;
    CaricaRisorse(*s.shell, 1);
    ConfigWindow model(s.app);
    model.NomeModello = "JXV9322";
    model.Form_Load();
    frm_Config2 w(model);
    w.show();
    EXPECT_EQ(w.windowTitle(), "Configure Devices");
    EXPECT_EQ(w.modelList()->count(), 33);
    EXPECT_EQ(w.modelList()->currentText(), "JXV9322");

    w.tabs()->setCurrentIndex(TabAnalogIn - 1);
    EXPECT_EQ(model.Tab, TabAnalogIn);
    QList<QComboBox*> type7;
    for (QComboBox* c : w.findChildren<QComboBox*>())
        if (c->isVisible()) type7 << c;
    // model list, and the eight type lists each showing "Disabled"
    ASSERT_EQ(type7.size(), 9);
    EXPECT_EQ(type7.back()->currentText(), "Disabled");
    EXPECT_EQ(type7.back()->count(), 2);

    emit w.modelList()->activated(w.modelList()->findText("JXV7541"));
    EXPECT_EQ(model.Model, "JXV7541");
    EXPECT_FALSE(type7.back()->isVisible());

    CaricaRisorse(*s.shell, 0);
    model.SetRes();
    EXPECT_EQ(w.windowTitle(), "Configura Dispositivi");
}

} // namespace
