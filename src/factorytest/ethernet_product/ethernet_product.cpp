#include "factorytest/ethernet_product/ethernet_product.h"

#include "comm/device_procedures.h"
#include "comm/link.h"
#include "comm/transaction.h"
#include "core/app_context.h"
#include "core/busy_run.h"
#include "platform/program_runner.h"

namespace {

constexpr uint8_t BenchOutputs = 1; // relay DC, range and pulse outputs, status bits
constexpr uint8_t BenchAc = 10;     // AC relay
constexpr int16_t OutputRegister = 9;
constexpr int16_t StatusRegister = 8;
constexpr uint16_t LoopAnswer = 0x0806; // identification of the loop partner at slave 10
constexpr uint8_t LoopSlave = 10, LoopErrorSlave = 11;

} // namespace

EthernetProductBench::EthernetProductBench(AppContext& app, LinkPort& uploadSocket, ProgramRunner& runner)
    : pump_(app.pump), upload(uploadSocket, pump_, app.dialogs, app.shell.log), app_(app), runner_(runner) {}

void EthernetProductBench::changed() {
    if (onChanged) onChanged();
}

void EthernetProductBench::ConnettiIP101() {
    state.TimerEnabled = false;
    Disconnetti(app_);
    DeviceRecord& d = app_.comm.CurrentDevice;
    d.Channel = 0;
    d.IpAddress = endpoints.Bench;
    d.NodeAddress = 10;
    Connetti(app_);
    // The polling runs only on a link that stands.
    state.TimerEnabled = d.Connected != 0;
    changed();
}

void EthernetProductBench::ConnettiIP100() {
    state.TimerEnabled = false;
    Disconnetti(app_);
    DeviceRecord& d = app_.comm.CurrentDevice;
    d.Channel = 0;
    if (state.Device >= 0) {
        d.IpAddress = endpoints.Product;
        d.NodeAddress = state.Device == 2 ? 128 : 255;
    }
    Connetti(app_);
    changed();
}

void EthernetProductBench::ScriviUscita() {
    double word = (state.ReleDC ? 256 : 0) + (state.Range3V ? 512 : 0) + (state.Impulso ? 1024 : 0);
    ScriviRegistro(app_, BenchOutputs, OutputRegister, word);
    double ac = state.ReleAC ? 768 : 0;
    ScriviRegistro(app_, BenchAc, OutputRegister, ac);
}

// The commands that take the user's link or write on it wait for no run: they are refused while one is
// under way, and the polling skips its ticks meanwhile.
void EthernetProductBench::cmd_connetti_Click(int index) {
    if (state.TestAttivo) return;
    if (index == 0) {
        if (RefusedDuringRun(app_, "Command")) return;
        ConnettiIP101();
        const bool up = app_.comm.CurrentDevice.Connected != 0;
        if (up) {
            state.ReleAC = false;
            state.Impulso = false;
        }
        state.TimerEnabled = up;
        state.Frame1Enabled = up;
    } else {
        state.TimerEnabled = false;
        state.Frame1Enabled = false;
    }
    changed();
}

void EthernetProductBench::Command1_Click() {
    if (RefusedDuringRun(app_, "Command")) return;
    // AC and DC are never on together: after DC the outputs go off, and AC follows a second later.
    if (state.ReleDC) {
        state.ReleDC = false;
        state.ReleAC = false;
        changed();
        ScriviUscita();
        app_.pump.pausa(1);
    }
    state.ReleAC = true;
    changed();
    ScriviUscita();
}

void EthernetProductBench::cmd_rele_Click(int index) {
    state.RelayColours.fill(ColourWhite);
    changed();
    if (index == 0) {
        state.ReleAC = false;
        app_.pump.pausa(1);
        state.ReleDC = true;
    } else if (index == 1) {
        state.ReleDC = false;
        app_.pump.pausa(1);
        state.ReleAC = true;
    } else {
        state.ReleDC = false;
        state.ReleAC = false;
    }
    state.RelayColours[static_cast<size_t>(index)] = ColourRed;
    changed();
}

void EthernetProductBench::cmd_puls_Click(bool ticked) {
    state.Impulso = ticked;
}

void EthernetProductBench::Timer_Timer() {
    const CommState& c = app_.comm;
    if (!state.TimerEnabled || ticking_ || c.TransactionBusy || c.RunUnderWay || !c.CurrentDevice.Connected)
        return;
    ticking_ = true;
    const auto v = static_cast<uint16_t>(LeggiRegistro(app_, BenchOutputs, StatusRegister));
    for (size_t i = 0; i < state.led.size(); ++i) {
        const uint16_t mask = static_cast<uint16_t>(256u << i);
        state.led[i] = (v & mask) == mask;
    }
    changed();
    ScriviUscita();
    ticking_ = false;
}

void EthernetProductBench::lst_device_Click(int entry) {
    if (state.TestAttivo || RefusedDuringRun(app_, "Command")) return;
    state.Device = entry;
    ConnettiIP100();
    state.Frame5Enabled = true;
    changed();
}

void EthernetProductBench::cmd_Set_Click() {
    if (state.TestAttivo || RefusedDuringRun(app_, "Command")) return;
    if (state.txt_vers.empty()) {
        app_.dialogs.messageBox("Inserire la versione", MsgButtons::Ok, MsgIcon::Warning);
        return;
    }
    ConnettiIP100();
    app_.project.MemoryImage[0] = static_cast<uint8_t>(state.txt_vers[0]);
    ScriviMemoria(app_, app_.comm.CurrentDevice.NodeAddress, 1, 0, 1);
}

void EthernetProductBench::cmd_test_Click() {
    if (state.TestAttivo || RefusedDuringRun(app_, "Command")) return;
    ConnettiIP100();
    CommState& c = app_.comm;
    if (c.CurrentDevice.Connected) {
        double mode = 4;
        ScriviRegistro(app_, c.CurrentDevice.NodeAddress, 5, mode);
        state.LoopLampLit = true;
        state.LoopLampColour = ColourYellow;
        state.LoopErrors = 0;
        state.TestAttivo = true;
        changed();
        const bool ended = pump_.run(app_.shell.log, "Test RS485", [&] { loopTest(); });
        state.TestAttivo = false;
        state.LoopLampColour = state.LoopErrors > 0 ? ColourRed : ColourGreen;
        // A closed window leaves the link where it is: no new connection is waited for.
        if (!ended) return changed();
    }
    ConnettiIP101();
}

void EthernetProductBench::loopTest() {
    CommState& c = app_.comm;
    while (state.TestAttivo) {
        c.TxBuffer[0] = state.ErrorSlave ? LoopErrorSlave : LoopSlave;
        c.TxBuffer[1] = 4;
        c.TxBuffer[2] = 0;
        c.TxBuffer[3] = 1;
        c.TxBuffer[4] = 0;
        c.TxBuffer[5] = 1;
        c.TxLength = 6;
        // A failed transaction is an error too: a dead line never ends green. So is an answer without
        // its register, whose bytes would be an earlier answer's.
        const bool good = TrasmettiRicevi(app_, -1) == ComOk && c.RxLength >= 5 && c.RxBuffer[2] == 2 &&
                          (c.RxBuffer[3] << 8 | c.RxBuffer[4]) == LoopAnswer;
        if (!good) {
            app_.shell.log.LogStart();
            app_.shell.log.LogWrite("Error");
            state.LoopLampColour = ColourRed;
            ++state.LoopErrors;
            changed();
        }
        pump_.processEvents();
    }
}

void EthernetProductBench::cmd_stop_test_Click() {
    state.TestAttivo = false;
}

void EthernetProductBench::start(const std::string& program, const std::vector<std::string>& args) {
    if (!runner_.startDetached(program, args))
        app_.dialogs.messageBox("Cannot start " + program, MsgButtons::Ok, MsgIcon::Warning, "ERROR");
}

void EthernetProductBench::cmd_view_Click() {
    start("xdg-open", {"http://" + endpoints.Product});
}

void EthernetProductBench::Command2_Click() {
    start("arp", {"-d", endpoints.Product});
}

std::string EthernetProductBench::UploadPath(int index, int entry) const {
    if (index == 0 && (entry == 0 || entry == 1)) return firmware.Factory;
    if (index == 1 && entry == 0) return firmware.Brand1;
    if (index == 1 && entry == 1) return firmware.Brand2;
    return {};
}

void EthernetProductBench::cmd_upload_Click(int index) {
    if (upload.SocketConnesso) return;
    pump_.run(app_.shell.log, "Upload",
              [&] { upload.InviaDati(endpoints.Product, UploadPath(index, state.Device)); });
    changed();
}

void EthernetProductBench::Form_Unload() {
    pump_.close();
    state.TimerEnabled = false;
    state.Frame1Enabled = false;
    changed();
}
