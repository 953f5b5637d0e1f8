// The configuration window draws the layout of its model and hands the user's choices back.
#include <gtest/gtest.h>

#include <algorithm>

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QTabBar>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

#include "app/shell_procedures.h"
#include "app/ui/main_window.h"
#include "core/language.h"
#include "core/model_catalogue.h"
#include "devconfig/ui/frm_config2.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"

namespace {

// The window shown on a model, English texts.
struct OpenWindow {
    explicit OpenWindow(const char* name) {
        model.NomeModello = name;
        model.Form_Load();
        w.show();
    }
    SimSession s;
    bool english = (CaricaRisorse(*s.shell, 1), true);
    ConfigWindow model{s.app};
    frm_Config2 w{model};
};

TEST(frm_Config2, ShowsTheModelsPageAndFollowsTabsAndLanguage) {
    OpenWindow o("JXV9322");
    SimSession& s = o.s;
    ConfigWindow& model = o.model;
    frm_Config2& w = o.w;
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

// Both menu entries open the one window on the device's model with the calendar's picture; only "Config"
// reads the module: the display model's input type at the position its register 34 gives.
TEST(frm_Config2, OpensOnceFromBothMenuEntries) {
    SimSession s;
    CaricaRisorse(*s.shell, 1);
    SimController module(10);
    module.setInput(34, 2);
    ASSERT_TRUE(s.connectTcp(module.startTcp()));
    const auto& models = s.shell->Models;
    const auto row = std::find_if(models.begin(), models.end(), [&](const ModelRecord& m) {
        return m.ModelName == s.shell->ModelNames[NameJXV8480AI];
    });
    ASSERT_NE(row, models.end());
    s.comm->CurrentDevice.ModelIndex =
        static_cast<decltype(s.comm->CurrentDevice.ModelIndex)>(row - models.begin());
    const ShellProcedures procs;
    MainWindow window(s.app, procs);
    window.CaricaImmagini();
    window.bindCommands();
    for (const char* item : {"mnu_config2", "mnu_7403"}) {
        SCOPED_TRACE(item);
        module.clearTranscript();
        window.menuItem(item)->trigger();
        const auto subs = window.mdi()->subWindowList();
        ASSERT_EQ(subs.size(), 1);
        auto* w = qobject_cast<frm_Config2*>(subs.front()->widget());
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->modelList()->currentText(), "JXV8480AI");
        EXPECT_FALSE(w->findChild<QPushButton*>("cmd_calendar")->icon().isNull());
        const bool reads = std::string(item) == "mnu_7403";
        EXPECT_EQ(module.transcript().size(), reads ? 1u : 0u);
        EXPECT_EQ(w->model().Types[0].Selected, reads ? 2 : -1);
    }
}

QString caption(QWidget* w) {
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
    return {};
}

// Every control the layout names is there under its name; captions the texts give are shown as they
// stand, and a button whose action no rule gives is shown disabled.
TEST(frm_Config2, HoldsEveryControlOfTheLayout) {
    OpenWindow o("JXV8480");
    frm_Config2& w = o.w;
    struct Control {
        QString name;
        const char* caption; // nullptr: not checked
        bool enabled = true;
    };
    std::vector<Control> controls{
        {"lbl_Mode", "Mode"},
        {"opt_DispMode(0)", "NEG"},
        {"opt_DispMode(1)", "POS"},
        {"bar_Lumin", nullptr},
        {"bar_Contr", nullptr},
        {"cmd_Invia(5)", "Write", false},
        {"txt_giorno", nullptr},
        {"txt_ore", nullptr},
        {"txt_sec", nullptr},
        {"Label2(3)", nullptr},
        {"Label2(5)", nullptr},
        {"cmd_ClockSync(0)", nullptr, false},
        {"cmd_ClockSync(1)", nullptr, false},
        {"cmd_calendar", nullptr},
        {"cmd_Invia(4)", "Write", false},
        {"Frame1", "WatchDog"},
        {"txt_wdt", nullptr},
        {"Label12(0)", "Timeout"},
        {"Label18(1)", "En"},
        {"Label18(0)", "WatchDog"},
        {"Label21", "PowerUp"},
        {"cmd_Invia(9)", "Write", false},
        {"Ev(1)", nullptr},
        {"Ev(2)", nullptr},
        {"txt_add", nullptr},
        {"txt_vers", nullptr},
        {"txt_nome", nullptr},
        {"Label10", "Address"},
        {"Label6", "ID Modulo"},
        {"Label5", "Nome Modulo"},
        {"cmd_Invia(0)", "Write", false},
        {"cmd_Invia(2)", "Write", false},
        {"Frame3(0)", nullptr},
        {"chk_DHCP", "DHCP"},
        {"cmd_Invia(10)", "Write", false},
        {"Frm_com(0)", "Port 0 (RS485 Slave)"},
        {"Frm_com(1)", "Port 1 (RS485 Master)"},
        {"Label7(2)", "Par"},
        {"Label7(3)", "Stop bit"},
        {"Label7(0)", "Par"},
        {"Label7(1)", "Stop bit"},
        {"Label8(1)", "Baud Rate"},
        {"Label11(0)", "Delay (ms)"},
        {"Label11(1)", "Timeout (ms)"},
        {"txt_delay(1)", nullptr},
        {"cmd_Invia(3)", "Write", false},
        {"cmd_Invia(8)", "Write", false},
        {"frm_AO", "Analog Outputs"},
        {"Picture2", nullptr},
        {"cmd_Set(0)", nullptr},
        {"cmd_Set(1)", nullptr},
        {"cmd_Set(2)", nullptr, false},
        {"Label17", "Type"},
        {"Label19", "Safe Value"},
        {"Label20", "Output Value"},
        {"frm_Out_Cal", nullptr},
        {"Label13(0)", "Input Value"},
        {"Label13(1)", nullptr},
        {"cmd_clear_latch", "Clear Latch", false},
        {"Label2(0)", nullptr},
        {"Label2(1)", nullptr},
        {"Label4", "Safe"},
        {"cmd_Invia(1)", "Write", false},
        {"cmd_Invia(6)", "Write", false}, // JXV8480 has no type write
        {"cmd_Read(7)", nullptr, false},
        {"cmd_sync", "Sync"},
    };
    auto each = [&](const char* array, int count, bool enabled = true) {
        for (int i = 0; i < count; ++i)
            controls.push_back({QString("%1(%2)").arg(array).arg(i), nullptr, enabled});
    };
    each("txt_IP", 22);
    each("Label15", 15);
    each("Label16", 9);
    each("Led_Ev", 3);
    each("cmd_Toggle", 3);
    each("cmb_Out", 8);
    each("txt_Output", 8);
    each("cmd_Output", 8, false);
    each("txt_Safe", 8);
    each("txt_Out_Zero", 8);
    each("txt_Out_Span", 8);
    each("cmd_Out_Cal", 8, false);
    each("DI", 16);
    each("Led", 16);
    each("frm_dout_ch", 8);
    each("chk_OutputBit", 8);
    each("chk_PupBit", 8);
    each("chk_SafeBit", 8);
    each("frm_Trip", 4);
    each("txt_Trip_LO", 4);
    each("txt_Trip_HI", 4);
    each("lbl_trip_lo", 4);
    each("lbl_trip_hi", 4);
    each("cmd_Write_Trip", 4, false);
    for (const char* page : {"frm_tab_prog", "frm_tab_eth", "frm_tab_com", "frm_tab_AI", "frm_tab_ao",
                             "frm_tab_di", "frm_tab_do", "frm_tab_trip"})
        controls.push_back({page, nullptr});
    for (const Control& c : controls) {
        auto* widget = w.findChild<QWidget*>(c.name);
        ASSERT_TRUE(widget) << c.name.toStdString();
        if (c.caption) {
            EXPECT_EQ(caption(widget), c.caption) << c.name.toStdString();
        }
        if (qobject_cast<QAbstractButton*>(widget)) {
            EXPECT_EQ(widget->isEnabled(), c.enabled) << c.name.toStdString();
        }
    }
    // The display model's system page shows the display panel with its mode label, not the clock.
    EXPECT_TRUE(w.findChild<QWidget*>("lbl_Mode")->isVisible());
    EXPECT_FALSE(w.findChild<QWidget*>("cmd_ClockSync(0)")->isVisible());
}

} // namespace
