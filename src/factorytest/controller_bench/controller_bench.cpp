#include "factorytest/controller_bench/controller_bench.h"

#include <cstdlib>
#include <filesystem>

#include "comm/device_procedures.h"
#include "comm/input_register_read.h"
#include "comm/link.h"
#include "comm/model_check.h"
#include "comm/transaction.h"
#include "core/app_context.h"
#include "core/busy_run.h"
#include "core/durable_file.h"
#include "factorytest/fields/controller_mode.h"
#include "factorytest/instruments/bench_instruments.h"
#include "factorytest/instruments/collaudo.h"
#include "program/transfer/file_output.h"
#include "program/transfer/memory_image_text.h"

namespace {

constexpr uint8_t UnitNode = 10;
constexpr uint8_t ReferenceNode = 99;
constexpr size_t ProgramValues = 65001;
constexpr uint16_t FamilyIdentity = 0x0806;
constexpr double CounterTarget = 500;

// Value written to register 9 and the pattern register 8 must show: the four channels are wired to
// bits 8-11 so that each row checks every channel both set and clear.
struct IoPattern {
    uint16_t value;
    uint16_t pattern;
};
constexpr std::array<IoPattern, 4> IoPatterns{{{256, 2304}, {512, 1536}, {768, 1280}, {0, 2560}}};

enum Step {
    Consumo10,
    Rs232At10,
    Consumo24,
    Rs232At24,
    ProgLow,
    Ethernet,
    ProgHigh,
    Rs485,
    Inputs,
    Outputs,
    Rtcc
};

uint8_t Bcd(int n) {
    return static_cast<uint8_t>((n / 10) << 4 | n % 10);
}

std::tm LocalNow() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}

// Adapts the download's progress bar to the bench state, in percent.
class PercentBar : public ProgressBar {
  public:
    explicit PercentBar(std::function<void(int)> set) : set_(std::move(set)) {}
    int maximum() const override { return 100; }
    void setValue(int value) override { set_(value); }

  private:
    std::function<void(int)> set_;
};

} // namespace

// Latin-1 texts: \367 is the division sign of the memory ranges.
const std::array<const char*, CollaudoSteps> ControllerBench::StepCaptions{
    "Consumo @ 10V",
    "RS232 @ 10V",
    "Consumo @ 24V",
    "RS232 @ 24V",
    "SYS Prog. [eprom 0\367511]",
    "Ethernet connection",
    "SYS Prog. [eprom 512\36765535]",
    "RS-485 Master / Slave",
    "Inputs",
    "Outputs",
    "RTCC",
};

const std::array<const char*, CollaudoLeds> ControllerBench::LedCaptions{"IN_0", "IN_1", "IN_2", "IN_3",
                                                                         "1_no", "1_nc", "0_no", "0_nc"};

ControllerBench::ControllerBench(AppContext& app, LinkPort& multLink, LinkPort& alimLink)
    : SerialeMult("multimeter", multLink, 0, "9600,n,8,1"),
      SerialeAlim("power supply", alimLink, 0, "2400,n,8,1"), clock(LocalNow), app_(app), pump_(app.pump) {}

void ControllerBench::changed() {
    if (onChanged) onChanged();
}

void ControllerBench::colour(int step, uint32_t c) {
    state.StepColour[static_cast<size_t>(step)] = c;
    changed();
}

void ControllerBench::Command1_Click() {
    state.StopCollaudo = true;
}

// A click held while a request waited comes back at the next pass of the event loop outside a request;
// a step whose last requests pass no pause would leave it to the next step. The pass here lets it act
// first, so a STOP clicked during a step ends the run at that step's end.
bool ControllerBench::stopped() {
    pump_.processEvents();
    return state.StopCollaudo;
}

void ControllerBench::cmd_start_Click() {
    if (state.Running || RefusedDuringRun(app_, "START")) return;
    state.StopCollaudo = false;
    state.Running = true;
    changed();
    const bool ended = pump_.run(app_.shell.log, "The test", [this] {
        const BusyRun busy(app_, "a bench run");
        if (state.Init) initPhase();
        if (state.Base && !stopped()) basePhase();
    });
    state.Running = false;
    if (!ended) Form_Unload(); // the ports the closed window's run left open
    changed();
}

void ControllerBench::Form_Unload() {
    pump_.close();
    if (state.Running) return; // the run closes them once it has ended
    SerialeMult.close();
    SerialeAlim.close();
}

// The test program is checked whole before the run touches the supply or the link.
bool ControllerBench::loadProgram() {
    const std::string& path = settings.ProgramFile;
    std::string text;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec) || !ReadWholeFile(path, text)) {
        app_.dialogs.messageBox("File di collaudo mancante: " + path, MsgButtons::Ok, MsgIcon::Critical);
        return false;
    }
    const auto values = ParseMemoryImageText(text, ProgramValues);
    if (!values) {
        app_.dialogs.messageBox("File di collaudo non valido: " + path, MsgButtons::Ok, MsgIcon::Critical);
        return false;
    }
    std::copy(values->begin(), values->end(), files_.FileImageBuffer.begin());
    return true;
}

// The instruments chosen by COM number are opened on it; "MANUALE" needs no port.
bool ControllerBench::openInstruments() {
    for (auto [mode, port] :
         {std::pair{&state.MultMode, &SerialeMult}, std::pair{&state.AlimMode, &SerialeAlim}}) {
        if (mode->rfind("COM", 0) != 0) continue;
        const int number = std::atoi(mode->c_str() + 3);
        if (port->isOpen() && port->Number == number) continue;
        port->close();
        port->Number = number;
        if (!port->open(settings.Devices)) {
            app_.dialogs.messageBox(port->Name + ": " + port->error(), MsgButtons::Ok, MsgIcon::Critical);
            return false;
        }
    }
    return true;
}

void ControllerBench::supply(bool on, const std::string& volts) {
    ImpostaAlimentatore(state.AlimMode, SerialeAlim, on, volts, pump_, app_.dialogs);
}

bool ControllerBench::download(int16_t first, int16_t last) {
    PercentBar bar([this](int v) {
        state.Progress = v;
        changed();
        pump_.check(); // the download pauses on the program's own pump: its progress sees a closed window
    });
    return DownloadHex(app_, TransferView{&bar, nullptr}, files_, first, last, false);
}

void ControllerBench::initPhase() {
    if (!loadProgram() || !openInstruments()) {
        state.StopCollaudo = true;
        return;
    }
    const auto ticked = [this](Step s) { return state.Ticked[s]; };
    Disconnetti(app_);
    DeviceRecord& d = app_.comm.CurrentDevice;
    d.Channel = 1;
    d.Port = static_cast<int16_t>(state.EutPort + 1);
    d.SerialDevice = ComDevice(settings.Devices, d.Port);
    d.BaudRate = "9600";
    d.NodeAddress = UnitNode;
    if (stopped()) return;
    supply(false, "0");
    pump_.pausa(0.5);
    if (stopped()) return;
    app_.dialogs.messageBox("Chiudere switch INIT", MsgButtons::Ok, MsgIcon::Warning);
    if (stopped()) return;
    for (const auto& [consumption, identity, which] :
         {std::tuple{Consumo10, Rs232At10, 0}, {Consumo24, Rs232At24, 1}}) {
        if (ticked(consumption)) {
            colour(consumption, ColourYellow);
            // Without limits the reading is shown and the step stays yellow.
            if (const auto result = VerificaConsumo(which))
                colour(consumption, *result == 0 ? ColourGreen : ColourRed);
        }
        if (stopped()) return;
        if (ticked(identity)) {
            colour(identity, ColourYellow);
            colour(identity, VerificaDispositivo() == 0 ? ColourGreen : ColourRed);
        }
        if (stopped()) return;
    }
    if (ticked(ProgLow)) {
        colour(ProgLow, ColourYellow);
        colour(ProgLow, download(0, 16) ? ColourGreen : ColourRed);
    }
    if (stopped()) return;
    supply(false, "0");
    pump_.pausa(0.5);
    if (stopped()) return;
    app_.dialogs.messageBox("Aprire switch INIT", MsgButtons::Ok, MsgIcon::Warning);
    if (stopped()) return;
    supply(true, "24");
    pump_.pausa(2);
    if (stopped()) return;
    if (ticked(Ethernet)) {
        toEthernet();
        pump_.pausa(0.5);
        colour(Ethernet, d.Connected ? ColourGreen : ColourRed);
    }
    if (stopped()) return;
    if (ticked(ProgHigh)) {
        colour(ProgHigh, ColourYellow);
        SetControllerMode(app_, true);
        pump_.pausa(0.5);
        colour(ProgHigh, download(16, 2032) ? ColourGreen : ColourRed);
    }
}

void ControllerBench::toEthernet() {
    Disconnetti(app_);
    DeviceRecord& d = app_.comm.CurrentDevice;
    d.Channel = 0;
    d.IpAddress = settings.EthernetAddress;
    d.Port = settings.EthernetPort;
    d.NodeAddress = UnitNode;
    Connetti(app_);
}

void ControllerBench::basePhase() {
    toEthernet();
    pump_.pausa(1);
    if (stopped()) return;
    if (state.Ticked[Rs485]) rs485Exchange();
    if (stopped()) return;
    for (const auto& [step, writer, reader, first] :
         {std::tuple{Inputs, ReferenceNode, UnitNode, 0}, {Outputs, UnitNode, ReferenceNode, 4}}) {
        if (state.Ticked[step]) {
            for (int i = first; i < first + 4; ++i)
                state.Led[static_cast<size_t>(i)] = ColourYellow;
            changed();
            for (const IoPattern& row : IoPatterns)
                TestIO(writer, reader, row.value, row.pattern, first);
        }
        if (stopped()) return;
    }
    if (state.Ticked[Rtcc]) setClock();
}

void ControllerBench::rs485Exchange() {
    colour(Rs485, ColourYellow);
    for (auto [node, reg] : {std::pair{ReferenceNode, 16},
                             {ReferenceNode, 26},
                             {ReferenceNode, 27},
                             {UnitNode, 16},
                             {UnitNode, 27}}) {
        double zero = 0;
        ScriviRegistro(app_, node, static_cast<int16_t>(reg), zero);
    }
    SetControllerMode(app_, false);
    pump_.pausa(1);
    double enable = 1;
    ScriviRegistro(app_, ReferenceNode, 26, enable);
    pump_.pausa(1);
    const int64_t start = app_.pump.nowMs();
    bool running = true;
    while (running && !state.StopCollaudo) {
        if (app_.pump.nowMs() - start > settings.Rs485LimitS * 1000) {
            running = false;
            colour(Rs485, ColourRed);
        }
        if (LeggiRegistro(app_, ReferenceNode, 26) != 1) {
            running = false;
            colour(Rs485, ColourRed);
        }
        const double counter = LeggiRegistro(app_, UnitNode, 27);
        app_.comm.Registers[27].Value = static_cast<int32_t>(counter);
        state.Label2 = std::to_string(static_cast<int>(counter)) + "/500";
        changed();
        if (counter > CounterTarget) {
            running = false;
            colour(Rs485, ColourGreen);
        }
        // The exchange runs in the units; a short pause between reads keeps the line free for it.
        if (running) pump_.pausa(0.1);
    }
    double disable = 0;
    ScriviRegistro(app_, ReferenceNode, 26, disable);
}

void ControllerBench::TestIO(uint8_t writer, uint8_t reader, uint16_t value, uint16_t pattern, int first) {
    double v = value, zero = 0;
    ScriviRegistro(app_, writer, 9, v);
    ScriviRegistro(app_, reader, 8, zero);
    pump_.pausa(0.1);
    const auto read = LeggiRegistriInput(app_, reader, 8, 1);
    for (int i = 0; i < 4; ++i) {
        uint32_t& led = state.Led[static_cast<size_t>(first + i)];
        const uint16_t bit = static_cast<uint16_t>(1u << (8 + i));
        // A read that failed says nothing about any channel: all four fail.
        const bool agree = read && ((read->front() & bit) == (pattern & bit));
        if (!agree)
            led = ColourRed;
        else if (led != ColourRed)
            led = ColourGreen;
    }
    changed();
}

uint8_t ControllerBench::VerificaDispositivo() {
    Connetti(app_);
    pump_.pausa(1);
    const uint8_t node = app_.comm.CurrentDevice.NodeAddress;
    LeggiRegistro(app_, node, 0);
    if (!app_.comm.CurrentDevice.Connected) {
        app_.dialogs.messageBox("ERRORE COM", MsgButtons::Ok);
        return 1;
    }
    IdentificaModello(app_, app_.comm.CurrentDevice.ModelIndex);
    if (LeggiRegistro(app_, node, 1) == FamilyIdentity) return 0;
    return app_.dialogs.messageBox("DISPOSITIVO NON RICONOSCIUTO, continuare?", MsgButtons::OkCancel) ==
                   MsgChoice::Ok
               ? 0
               : 1;
}

std::optional<uint8_t> ControllerBench::VerificaConsumo(int which) {
    const ConsumptionLimits& limits = settings.Consumption[static_cast<size_t>(which)];
    std::string& shown = state.Consumption[static_cast<size_t>(which)];
    supply(true, DecimalText(limits.volts));
    pump_.pausa(2);
    for (;;) {
        const auto ma = LeggiMultimetro(state.MultMode, {SerialeMult, SerialeAlim}, pump_, app_.dialogs,
                                        app_.shell.log, settings.MultReplyMs);
        shown = ma ? DecimalText(*ma) + " mA" : "no reading";
        changed();
        if (!limits.judged()) return std::nullopt;
        if (ma && limits.accepts(*ma)) return 0;
        const auto limit = [](const std::optional<double>& l) { return l ? DecimalText(*l) : std::string(); };
        const std::string text = "ERRORE: CONSUMO =" + (ma ? DecimalText(*ma) : std::string("?")) + "mA [" +
                                 limit(limits.minMa) + "\367" + limit(limits.maxMa) + "]";
        const MsgChoice c = app_.dialogs.messageBox(text, MsgButtons::AbortRetryIgnore, MsgIcon::Warning);
        if (c == MsgChoice::Ignore) return 0;
        if (c != MsgChoice::Retry) return 1;
    }
}

bool ControllerBench::setConsumptionLimits(int which, std::optional<double> minMa,
                                           std::optional<double> maxMa, std::string& error) {
    if (minMa && maxMa && *maxMa < *minMa) {
        error = "The maximum " + DecimalText(*maxMa) + " mA lies below the minimum " + DecimalText(*minMa) +
                " mA: limits not changed.";
        return false;
    }
    ConsumptionSteps steps = settings.Consumption;
    steps[static_cast<size_t>(which)].minMa = minMa;
    steps[static_cast<size_t>(which)].maxMa = maxMa;
    if (!settings.LimitsFile.empty())
        if (const auto failure = SaveFileDurably(settings.LimitsFile, FormatConsumptionLimits(steps))) {
            error = "Limits not saved: " + failure->path + ": " + failure->reason + ".";
            return false;
        }
    settings.Consumption = steps;
    return true;
}

void ControllerBench::editConsumptionLimits(int which, const std::string& minText,
                                            const std::string& maxText) {
    const auto minMa = ParseLimitEntry(minText), maxMa = ParseLimitEntry(maxText);
    std::string error = "A limit is a number of mA from 0 up, or empty for none: limits not changed.";
    const ConsumptionLimits& now = settings.Consumption[static_cast<size_t>(which)];
    if (minMa && maxMa && *minMa == now.minMa && *maxMa == now.maxMa) return;
    if (!minMa || !maxMa || !setConsumptionLimits(which, *minMa, *maxMa, error))
        app_.dialogs.messageBox(error, MsgButtons::Ok, MsgIcon::Warning);
    changed();
}

void ControllerBench::loadConsumptionLimits() {
    std::string text;
    std::error_code ec;
    if (settings.LimitsFile.empty() || !std::filesystem::exists(settings.LimitsFile, ec)) return;
    if (std::string reason; !ReadWholeFile(settings.LimitsFile, text, &reason)) {
        app_.dialogs.messageBox("Consumption limits not read: " + settings.LimitsFile + " cannot be read (" +
                                    reason + ").",
                                MsgButtons::Ok, MsgIcon::Warning);
        return;
    }
    for (int line : ParseConsumptionLimits(text, settings.Consumption))
        app_.dialogs.messageBox(settings.LimitsFile + " line " + std::to_string(line) +
                                    " is not a number of mA: that limit is not set.",
                                MsgButtons::Ok, MsgIcon::Warning);
}

void ControllerBench::setClock() {
    const std::tm now = clock();
    const int year = now.tm_year + 1900;
    // The year list holds 2000-2099 and the unit keeps two digits: another year is not sent.
    if (year < 2000 || year > 2099) {
        colour(Rtcc, ColourRed);
        app_.dialogs.messageBox("The PC's year " + std::to_string(year) +
                                    " is outside 2000-2099: the unit's clock is not set.",
                                MsgButtons::Ok, MsgIcon::Warning);
        return;
    }
    state.Day = now.tm_mday - 1;
    state.Month = now.tm_mon;
    state.Year = year - 2000;
    state.Hour = std::to_string(now.tm_hour);
    state.Minute = std::to_string(now.tm_min);
    state.Second = std::to_string(now.tm_sec);
    colour(Rtcc, ColourYellow);
    CommState& c = app_.comm;
    const std::array<uint8_t, 15> frame{UnitNode,
                                        16,
                                        0,
                                        22,
                                        0,
                                        4,
                                        8,
                                        0,
                                        Bcd(std::stoi(state.Second)),
                                        Bcd(std::stoi(state.Minute)),
                                        Bcd(std::stoi(state.Hour)),
                                        0,
                                        Bcd(state.Day + 1),
                                        Bcd(state.Month + 1),
                                        Bcd(state.Year)};
    std::copy(frame.begin(), frame.end(), c.TxBuffer.begin());
    c.TxLength = static_cast<int>(frame.size());
    colour(Rtcc, TrasmettiRicevi(app_, -1) == ComOk ? ColourGreen : ColourRed);
}
