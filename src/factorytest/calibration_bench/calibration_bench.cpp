#include "factorytest/calibration_bench/calibration_bench.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "core/app_context.h"
#include "core/busy_run.h"

std::string FixedText(double value, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    return buf;
}

double FloorScaled(double value, double scale) {
    const double x = value * scale;
    const double nearest = std::round(x);
    if (nearest > x && nearest - x <= 1e-9 * std::max(1.0, std::fabs(x))) return nearest;
    return std::floor(x);
}

bool WithinAllowance(double deviation, double allowance) {
    return std::fabs(deviation) <= allowance + 1e-9;
}

std::string DurationText(double seconds) {
    const auto minutes = static_cast<int64_t>(seconds / 60);
    const auto rest = static_cast<int64_t>(seconds - 60.0 * static_cast<double>(minutes));
    return std::to_string(minutes) + ":" + std::to_string(rest);
}

CalibrationBench::CalibrationBench(AppContext& app, InstrumentPorts& ports, std::string programFolder)
    : pump_(app.pump), ports(ports), instruments(ports, pump_, app.dialogs, app.shell.log), app_(app),
      link_(app), programFolder_(std::move(programFolder)) {
    for (int i = 0; i < BenchRowCount; ++i) {
        const RowLabels has = LabelsOfRow(i);
        BenchRow& r = row(i);
        r.Zero.Exists = has.Zero, r.Half.Exists = has.Half, r.Span.Exists = has.Span, r.K.Exists = has.K;
        r.KZero.Exists = r.KSpan.Exists = has.KZeroSpan;
        r.Span2.Exists = has.Span2;
    }
}

void CalibrationBench::changed() {
    if (onChanged) onChanged();
}

void CalibrationBench::pausa(double seconds) {
    pump_.pausa(seconds);
}

void CalibrationBench::untilClosed(const std::string& what, const std::function<void()>& work) {
    if (pump_.run(app_.shell.log, what, work)) return;
    state.Running = false;
    view.busy(false);
    // Ended where it was: no stop sequence, which would wait; only the supply's output goes off, before
    // the ports close. A command run during another's wait leaves that to the other, which ends next.
    if (!pump_.running()) {
        switchSupplyOffAtClose();
        Form_Unload();
    }
    changed();
}

void CalibrationBench::switchSupplyOffAtClose() {
    InstrumentPort& supply = ports.Seriale_alim;
    std::string outcome = "output switched off";
    if (!supply.isOpen())
        outcome = "output not switched off: its port is not open";
    else if (!supply.sendWhole(SupplyOffCommand))
        outcome = "output not switched off: its port refused the command (" + supply.link().error() + ")";
    app_.shell.log.LogStart();
    app_.shell.log.LogWrite("Power supply (COM" + std::to_string(supply.Number) + "): " + outcome);
}

void CalibrationBench::Form_Unload() {
    pump_.close();
    if (pump_.running()) return; // a command under way closes them once its supply is off
    for (InstrumentPort* p :
         {&ports.Seriale_switch, &ports.Seriale_mult, &ports.Seriale_alim, &ports.Seriale_calib})
        p->close();
}

void CalibrationBench::colour(BenchLabel& label, uint32_t c, const std::string& text) {
    label.Colour = c;
    if (!text.empty()) label.Text = text;
    changed();
}

void CalibrationBench::fail(BenchLabel& label, const std::string& why) {
    app_.shell.log.LogStart();
    app_.shell.log.LogWrite(why);
    colour(label, ColourRed, "----");
}

void CalibrationBench::tell(const std::string& text) {
    app_.shell.log.LogStart();
    app_.shell.log.LogWrite(text);
    app_.dialogs.messageBox(text, MsgButtons::Ok, MsgIcon::Warning);
}

void CalibrationBench::cell(int index, uint32_t c) {
    row(index).Cell = c;
    changed();
}

void CalibrationBench::Form_Load() {
    state.Label5 = "Select Device";
    changed();
}

void CalibrationBench::lst_device_Click(int model) {
    if (state.Running || model < 0 || model >= BenchModelCount) return;
    state.BenchModel = static_cast<int16_t>(model);
    state.Label5 = BenchModels[static_cast<size_t>(model)].ListText;
    state.ModuleNode = BenchModels[static_cast<size_t>(model)].ModuleNode;
    for (int i = 0; i < BenchRowCount; ++i) {
        const CheckRow& c = CheckLists[static_cast<size_t>(model)][static_cast<size_t>(i)];
        row(i).Caption = c.Caption;
        row(i).Ticked = c.Ticked;
    }
    state.ModelChosen = true;
    changed();
}

void CalibrationBench::setTicked(int index, bool ticked) {
    if (index >= 0 && index < BenchRowCount) row(index).Ticked = ticked;
    changed();
}

void CalibrationBench::runRow(int index) {
    BenchRow& r = row(index);
    for (BenchLabel* l : {&r.Span, &r.Half, &r.Zero})
        if (l->Exists) l->Text = "0";
    switch (state.BenchModel) {
    case 0:
        return EseguiPasso7593(index);
    case 1:
        return EseguiPasso4751(index);
    case 2:
        return EseguiPassoTCRTD(index);
    case 3:
        return EseguiPasso2569(index);
    default:
        return;
    }
}

void CalibrationBench::cmd_coll_Click(int index) {
    if (state.Running || !state.ModelChosen || index < 0 || index >= BenchRowCount) return;
    if (RefusedDuringRun(app_, "Row " + std::to_string(index))) return;
    state.StopFlag = false;
    state.ModuleFailed = false;
    state.Running = true;
    changed();
    untilClosed("Row " + std::to_string(index), [&] {
        const BusyRun busy(app_, "a bench run");
        runRow(index);
        state.Running = false;
        // STOP pressed while the row ran: its sequence runs now that the row is done.
        if (state.StopFlag) stopSequence();
    });
    changed();
}

bool CalibrationBench::checkPorts() {
    const BenchModelInfo& m = BenchModels[static_cast<size_t>(state.BenchModel)];
    if (ports.Seriale_calib.Number <= 0) {
        app_.dialogs.messageBox("The calibrator's COM port is not set: choose it before START.",
                                MsgButtons::Ok, MsgIcon::Warning);
        return false;
    }
    std::vector<std::pair<std::string, int>> used{{std::string(m.ListText) + " link", m.LinkPort}};
    for (InstrumentPort* p :
         {&ports.Seriale_switch, &ports.Seriale_mult, &ports.Seriale_alim, &ports.Seriale_calib})
        used.emplace_back(p->Name, p->Number);
    for (size_t i = 0; i < used.size(); ++i)
        for (size_t j = i + 1; j < used.size(); ++j)
            if (used[i].second == used[j].second) {
                app_.dialogs.messageBox("COM" + std::to_string(used[i].second) + " is both the " +
                                            used[i].first + " and the " + used[j].first +
                                            ": give one of them another port.",
                                        MsgButtons::Ok, MsgIcon::Warning);
                return false;
            }
    return true;
}

bool CalibrationBench::openPorts() {
    for (InstrumentPort* p :
         {&ports.Seriale_switch, &ports.Seriale_mult, &ports.Seriale_calib, &ports.Seriale_alim})
        if (!p->open(ports.Devices)) {
            app_.dialogs.messageBox("Port of the " + p->Name + " (COM" + std::to_string(p->Number) +
                                        ") not opened: " + p->error(),
                                    MsgButtons::Ok, MsgIcon::Critical);
            return false;
        }
    return true;
}

void CalibrationBench::cmd_start_Click() {
    if (state.Running || !state.ModelChosen || RefusedDuringRun(app_, "START")) return;
    // No colour of an earlier run may pass for this run's result.
    for (BenchRow& r : state.Rows) {
        r.Cell = ColourWhite;
        for (BenchLabel* l : {&r.Span, &r.Half, &r.Zero, &r.K, &r.KSpan, &r.KZero})
            if (l->Exists) l->Text = "0", l->Colour = ColourWhite;
    }
    state.Progress = 0;
    // Nothing is switched on before every instrument is there.
    if (!checkPorts() || !openPorts()) return changed();
    state.Running = true;
    state.StopFlag = false;
    state.ModuleFailed = false;
    state.StartTime = static_cast<double>(app_.pump.nowMs()) / 1000;
    changed();
    untilClosed("The calibration run", [this] {
        const BusyRun busy(app_, "a bench run");
        run();
    });
}

void CalibrationBench::run() {
    instruments.accendi_alim();
    const BenchModelInfo& m = BenchModels[static_cast<size_t>(state.BenchModel)];
    const auto mapped = ports.Devices.find(m.LinkPort);
    link_.moveTo(m.LinkPort, mapped != ports.Devices.end() ? mapped->second : std::string{}, m.ModuleNode,
                 app_.shell.ModelNames[static_cast<size_t>(m.NameEntry)]);
    if (link_.connected() && state.BenchModel != 3) link_.verifyModel();
    // A module that does not answer ends the run here, with the supply off, instead of failing every row.
    if (!link_.connected() || !link_.writeRegister(state.ModuleNode, 17, 255)) {
        app_.dialogs.messageBox("The module does not answer on COM" + std::to_string(m.LinkPort) +
                                    ": the run ends.",
                                MsgButtons::Ok, MsgIcon::Critical);
    } else {
        for (int i = 0; i < BenchRowCount; ++i) {
            if (row(i).Ticked) runRow(i);
            pump_.processEvents();
            if (state.StopFlag || state.ModuleFailed || !link_.connected()) break;
        }
    }
    state.Running = false;
    stopSequence();
}

void CalibrationBench::cmd_stop_Click() {
    if (state.Running) {
        state.StopFlag = true;
        return changed();
    }
    // Inside another run (a download, say) the link is that run's: the module requests are refused, and
    // only the instruments stop. Otherwise they are a run of their own, so nothing from another window
    // goes out between them.
    const bool toModule = !link_.connected() ||
                          !RefusedDuringRun(app_, "STOP's module requests (register 17 := 0, release mode)");
    untilClosed("The stop sequence", [this, toModule] {
        const BusyRun busy(app_, "a bench run");
        stopSequence(toModule);
    });
}

void CalibrationBench::stopSequence(bool toModule) {
    if (toModule && link_.connected()) {
        link_.writeRegister(state.ModuleNode, 17, 0);
        link_.setDebugMode(false);
    }
    state.StopFlag = true;
    state.Label1 = DurationText(static_cast<double>(app_.pump.nowMs()) / 1000 - state.StartTime);
    changed();
    instruments.Beep();
    instruments.spegni_alim();
}
