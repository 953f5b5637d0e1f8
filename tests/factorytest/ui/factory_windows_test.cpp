// The factory windows: opened from the internal edition's menu, and driven by their controls.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include "../../app/ui/window_fixture.h"
#include "../four_channel_module.h"
#include "../worlds.h"
#include "app/startup.h"
#include "factorytest/ui/bench_widgets.h"
#include "factorytest/ui/coll7593.h"
#include "factorytest/ui/conf_jxv4174.h"
#include "factorytest/ui/conf_jxv7593.h"
#include "factorytest/ui/frm_coll_nwac.h"
#include "factorytest/ui/frm_collaudo.h"
#include "factorytest/ui/frm_q7r218.h"
#include "platform/window_fit.h"

namespace {

TEST(FactoryMenu, InternalBuildOpensEachWindowOnceWithItsState) {
    QTemporaryDir folder;
    WindowFixture f;
    f.window = std::make_unique<MainWindow>(f.ctx, f.procs);
    BuildFlags internal = ThisBuild;
    internal.Internal = -1;
    Main(f.ctx, f.window.get(), {internal, folder.path().toStdString()});
    f.window->bindCommands();
    EXPECT_TRUE(f.window->menuItem("mnu_collaudo")->isVisible());
    std::map<std::string, QWidget*> opened;
    for (auto [item, name] : {std::pair{"mnu_coll_7593", "coll7593"},
                              {"mnu_config_7593", "ConfJXV7593"},
                              {"mnu_coll_4174", "ConfJXV4174"},
                              {"mnu_coll_NWAC", "frm_coll_NWAC"},
                              {"mnu_collQ7R218", "frm_Q7R218"},
                              {"mnu_coll", "frm_collaudo"}}) {
        SCOPED_TRACE(item);
        ASSERT_TRUE(f.window->menuItem(item)->isEnabled());
        f.window->menuItem(item)->trigger();
        f.window->menuItem(item)->trigger();
        const auto subs = f.window->mdi()->subWindowList();
        EXPECT_EQ(std::count_if(subs.begin(), subs.end(),
                                [&name = name](QMdiSubWindow* s) { return s->objectName() == name; }),
                  1);
        EXPECT_EQ(f.window->mdi()->activeSubWindow()->objectName(), name);
        opened[name] = subWindowContent(f.window->mdi()->activeSubWindow());
    }
    auto* bench = qobject_cast<Coll7593*>(opened["coll7593"]);
    ASSERT_NE(bench, nullptr);
    EXPECT_FALSE(bench->cmd_start->isEnabled()); // no model chosen yet

    auto* analog = qobject_cast<ConfJXV7593*>(opened["ConfJXV7593"]);
    ASSERT_NE(analog, nullptr);
    EXPECT_EQ(analog->windowTitle(), "Collaudo JXV7209");
    EXPECT_EQ(analog->Command11->text(), "Command11");
    analog->SetDefault[1]->click();
    EXPECT_EQ(analog->cmb_InputType[0]->currentText(), "10 V");
    EXPECT_EQ(analog->cmb_InputType[2]->currentText(), "---");
    EXPECT_EQ(analog->findChild<QLineEdit*>("AddSlave")->text(), "246");
    EXPECT_TRUE(analog->chk_Mux[0][0]->isChecked());
    EXPECT_TRUE(analog->chk_Mux[0][0]->styleSheet().contains("FF0000"));
    analog->chk_Mux[3][5]->click();
    EXPECT_TRUE(analog->chk_Mux[3][5]->styleSheet().contains("FF0000"));
    auto* measured = analog->findChild<QLineEdit*>("txt_Input_Mis_0");
    measured->setText("");
    measured->insert("20000");
    EXPECT_EQ(analog->findChild<QLineEdit*>("txt_Input_K_0")->text(), "0.5");

    auto* multi = qobject_cast<ConfJXV4174*>(opened["ConfJXV4174"]);
    ASSERT_NE(multi, nullptr);
    EXPECT_FALSE(multi->input_ty->isVisibleTo(multi));
    multi->device_ty->setCurrentIndex(1);
    emit multi->device_ty->activated(1);
    EXPECT_TRUE(multi->input_ty->isVisibleTo(multi));
    EXPECT_EQ(multi->findChild<QLineEdit*>("txt_Input_Type_3")->text(), "7");

    auto* meter = qobject_cast<frm_Q7R218*>(opened["frm_Q7R218"]);
    ASSERT_NE(meter, nullptr);
    EXPECT_TRUE(meter->cmd_Read->isEnabled());

    auto* product = qobject_cast<frm_coll_NWAC*>(opened["frm_coll_NWAC"]);
    ASSERT_NE(product, nullptr);
    EXPECT_FALSE(product->Frame1->isEnabled() || product->Frame5->isEnabled());
    auto* controller = qobject_cast<frm_collaudo*>(opened["frm_collaudo"]);
    ASSERT_NE(controller, nullptr);
    EXPECT_EQ(controller->txt_mult_port->currentText(), "MANUALE");
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

// Limits typed in the window are the bench's; a typing mistake is refused, told, and the field shows
// the limit that still holds.
TEST(frm_collaudo, ConsumptionLimitsAreTypedInTheWindow) {
    ControllerWorld w;
    frm_collaudo window(w.bench, {"A", "B", "C", "D"},
                        {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"});
    EXPECT_TRUE(window.txt_cons_min[0]->text().isEmpty());
    window.txt_cons_min[0]->setText("20");
    emit window.txt_cons_min[0]->editingFinished();
    window.txt_cons_max[0]->setText("25O");
    emit window.txt_cons_max[0]->editingFinished();
    EXPECT_EQ(w.bench.settings.Consumption[0].minMa, 20);
    EXPECT_EQ(w.bench.settings.Consumption[0].maxMa, std::nullopt);
    EXPECT_EQ(w.dialogs.shown,
              std::vector<std::string>{
                  "A limit is a number of mA from 0 up, or empty for none: limits not changed."});
    EXPECT_TRUE(window.txt_cons_max[0]->text().isEmpty());
    w.bench.state.Consumption[0] = "100 mA";
    w.bench.onChanged();
    EXPECT_EQ(window.lbl_consumo[0]->text(), "100 mA");
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

// The version byte is the typed character; one that no byte holds is no version, never "?".
TEST(frm_coll_NWAC, TheVersionIsTheTypedByteOrNone) {
    NwacWorld w;
    frm_coll_NWAC window(w.bench);
    for (const auto& [typed, kept] : {std::pair{QString("7"), "7"},
                                      {QString::fromUtf8("\u20AC"), ""},
                                      {QString::fromUtf8("\u00E9"), "\xE9"}}) {
        window.txt_vers->setText(typed);
        EXPECT_EQ(w.bench.state.txt_vers, kept);
    }
}

// Closing a factory window during its work ends the work at its next wait: the peer gets at most the
// request under way (the download's block) after the close, and the log tells what stopped (then what
// the close did, when it did more).
template <class World>
void CloseDuring(World& w, QWidget& window, QPushButton* start, int pass, const std::function<size_t()>& sent,
                 const std::string& what, const std::string& then = {}) {
    size_t atClose = 0;
    int passes = 0;
    w.pump.onEvents = [&] {
        if (++passes == pass) atClose = sent(), window.close();
    };
    start->click();
    w.pump.onEvents = nullptr;
    EXPECT_GE(passes, pass) << what;
    EXPECT_LE(sent() - atClose, 1u) << what;
    const auto& lines = w.shell->log.lines();
    ASSERT_GE(lines.size(), then.empty() ? 1u : 3u) << what;
    EXPECT_EQ(lines[lines.size() - (then.empty() ? 1 : 3)], what + " stopped: its window was closed  ");
    if (!then.empty()) {
        EXPECT_EQ(lines.back(), then + "  ");
    }
}

TEST(FactoryWindows, ClosingOneEndsWhatItStarted) {
    {
        ConfigWorld w(5);
        ASSERT_TRUE(w.connect());
        EnergyMeterReader reader(w.app);
        frm_Q7R218 window(reader);
        CloseDuring(
            w, window, window.cmd_start, 2, [&] { return w.sim.transcript().size(); }, "Continuous reading");
        EXPECT_FALSE(reader.polling());
    }
    for (const bool byStop : {false, true}) {
        // A click on Stop or the window system's close, held during a block's wait, acts before the next
        // block.
        ConfigWorld w(5);
        for (int i = 0; i < 8; ++i)
            w.sim.inject({SimFault::Delay, 200});
        ASSERT_TRUE(w.connect());
        EnergyMeterReader reader(w.app);
        frm_Q7R218 window(reader);
        window.show();
        size_t atInput = 0;
        bool timed = false;
        w.pump.onEvents = [&] {
            if (!std::exchange(timed, true))
                QTimer::singleShot(50, [&] {
                    atInput = w.sim.transcript().size();
                    QWindow* handle = window.windowHandle();
                    const QPointF at =
                        window.cmd_stop->mapTo(&window, QRectF(window.cmd_stop->rect()).center());
                    QMouseEvent press(QEvent::MouseButtonPress, at, window.mapToGlobal(at), Qt::LeftButton,
                                      Qt::LeftButton, Qt::NoModifier);
                    QMouseEvent release(QEvent::MouseButtonRelease, at, window.mapToGlobal(at),
                                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
                    QCloseEvent close;
                    for (QEvent* e :
                         byStop ? std::vector<QEvent*>{&press, &release} : std::vector<QEvent*>{&close})
                        QCoreApplication::sendEvent(handle, e);
                });
        };
        window.cmd_start->click();
        w.pump.onEvents = nullptr;
        EXPECT_LE(w.sim.transcript().size() - atInput, 1u) << byStop;
        EXPECT_FALSE(reader.polling());
        EXPECT_EQ(w.shell->log.lines().back() == "Continuous reading stopped: its window was closed  ",
                  !byStop);
    }
    {
        ConfigWorld w;
        FourChannelModule module;
        w.sim.setResponder([&](const Bytes& r) { return module.respond(r); });
        ASSERT_TRUE(w.connect());
        MultiChannelConfig config(w.app);
        ConfJXV4174 window(config);
        CloseDuring(
            w, window, window.Command4, 3, [&] { return w.sim.transcript().size(); },
            "Continuous measurement");
    }
    {
        ConfigWorld w(1);
        ASSERT_TRUE(w.connect());
        AnalogConfig config(w.app);
        ConfJXV7593 window(config);
        CloseDuring(
            w, window, window.Command11, 5, [&] { return w.sim.transcript().size(); }, "Command11");
        EXPECT_FALSE(config.switching());
    }
    {
        NwacWorld w;
        frm_coll_NWAC window(w.bench);
        window.cmd_connetti[0]->click();
        w.bench.state.Device = 0;
        CloseDuring(
            w, window, window.cmd_test, 4, [&] { return w.productPeer.transcript().size(); }, "Test RS485");
        EXPECT_FALSE(window.Timer.isActive() || w.bench.state.TestAttivo);
    }
    {
        BenchWorld w(0);
        Coll7593 window(w.bench);
        CloseDuring(
            w, window, window.cmd_start, 40, [&] { return w.sim.transcript().size(); }, "The calibration run",
            "Power supply (COM4): output switched off");
        EXPECT_FALSE(w.bench.state.Running || w.supply.isConnected() || w.mult.isConnected());
        EXPECT_TRUE(w.supply.written.ends_with("KOD\r"));
    }
    {
        ControllerWorld w;
        w.tickAll(true, true);
        frm_collaudo window(w.bench, {"A", "B", "C", "D"},
                            {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"});
        CloseDuring(
            w, window, window.cmd_start, 200,
            [&] { return w.rtu.transcript().size() + w.tcp.transcript().size(); }, "The test");
        EXPECT_FALSE(w.bench.state.Running);
        EXPECT_EQ(w.unit.memory(65000, 1)[0], 0); // the download ended with the window
    }
}

} // namespace
