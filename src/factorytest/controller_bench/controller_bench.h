#pragma once
// frm_collaudo: the production test of a controller of the JXV8410 family. Init phase over the serial
// link (identity, INIT switch prompts, lower memory download) and Ethernet (upper memory download);
// Base phase against the reference unit (RS-485 exchange, four inputs, four outputs) and the clock.
// The window shows `state`; a run's only result is the colours.
#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>

#include "factorytest/controller_bench/consumption_limits.h"
#include "factorytest/fields/closing_pump.h"
#include "factorytest/instruments/bench_colours.h"
#include "factorytest/instruments/instrument_port.h"
#include "program/transfer/memory_image_transfer.h"

struct AppContext;
class LinkPort;

constexpr int CollaudoSteps = 11;
constexpr int CollaudoLeds = 8;
constexpr uint32_t NotColoured = 0xFFFFFFFF; // the control's own background

template <size_t N> constexpr std::array<uint32_t, N> Uncoloured() {
    std::array<uint32_t, N> a{};
    a.fill(NotColoured);
    return a;
}

struct CollaudoState {
    bool Init = false; // chk_controlli(0)
    bool Base = false; // chk_controlli(1)
    std::array<bool, CollaudoSteps> Ticked{};
    std::array<uint32_t, CollaudoSteps> StepColour = Uncoloured<CollaudoSteps>();
    std::array<uint32_t, CollaudoLeds> Led = Uncoloured<CollaudoLeds>();
    std::string Label2 = "0";
    // Clock fields: list indexes of day, month and year (year - 2000), and the time texts.
    int Day = 0, Month = 0, Year = 0;
    std::string Hour, Minute, Second;
    int EutPort = 0; // txt_eut_port: COM number - 1
    std::string MultMode = "MANUALE";
    std::string AlimMode = "MANUALE";
    int Progress = 0;                       // download progress in percent
    std::array<std::string, 2> Consumption; // the consumption steps' last readings: "100 mA", "no reading"
    bool Running = false;
    bool StopCollaudo = false;
};

struct CollaudoSettings {
    std::string ProgramFile = "progetti/collaudo/8410.hex";
    std::string EthernetAddress = "192.168.1.100";
    int16_t EthernetPort = 502;
    ComDevices Devices;      // COM number -> device, for the unit's serial link and the instruments
    double Rs485LimitS = 30; // the exchange counter must pass 500 within this
    int MultReplyMs = 3000;
    ConsumptionSteps Consumption{{{10, {}, {}}, {24, {}, {}}}}; // steps 0 and 2: no limits until given
    std::string LimitsFile; // the bench's settings file; empty: limits are not kept
};

class ControllerBench {
  public:
    ControllerBench(AppContext& app, LinkPort& multLink, LinkPort& alimLink);

    CollaudoState state;
    CollaudoSettings settings;
    InstrumentPort SerialeMult;
    InstrumentPort SerialeAlim;
    // The PC's date and time (local).
    std::function<std::tm()> clock;
    std::function<void()> onChanged;

    // The step captions, model names and list texts of the window.
    static const std::array<const char*, CollaudoSteps> StepCaptions;
    static const std::array<const char*, CollaudoLeds> LedCaptions;

    // Runs the ticked phases; refused while a run goes.
    void cmd_start_Click();
    // STOP: the run ends at its next checkpoint.
    void Command1_Click();
    // The window closes: a run ends at its next wait or download block, and the instruments' ports close.
    void Form_Unload();

    // One I/O pattern: value to the writer's register 9, the reader's register 8 checked on bits 8-11.
    void TestIO(uint8_t writer, uint8_t reader, uint16_t value, uint16_t pattern, int first);
    // Identity of the unit on the link: 0 passed, 1 failed.
    uint8_t VerificaDispositivo();
    // Consumption step which (0: 10 V, 1: 24 V): supply on at its voltage, then the current, shown in
    // state.Consumption and judged against the limits set: 0 passed, 1 failed; nothing without limits.
    std::optional<uint8_t> VerificaConsumo(int which);
    // Sets and saves the limits of consumption step which. False with error, the limits as they were,
    // when the maximum lies below the minimum or the settings file could not be written.
    bool setConsumptionLimits(int which, std::optional<double> minMa, std::optional<double> maxMa,
                              std::string& error);
    // The limits as the operator typed them in the window: set and saved, or told why not.
    void editConsumptionLimits(int which, const std::string& minText, const std::string& maxText);
    // Reads the limits from settings.LimitsFile; lines that do not read are told and left without limit.
    void loadConsumptionLimits();

  private:
    // A checkpoint: true once STOP was clicked, also while a request of the step waited.
    bool stopped();
    bool loadProgram();
    bool openInstruments();
    void initPhase();
    void basePhase();
    void supply(bool on, const std::string& volts);
    void toEthernet();
    void rs485Exchange();
    void setClock();
    bool download(int16_t first, int16_t last);
    void colour(int step, uint32_t c);
    void changed();

    AppContext& app_;
    ClosingPump pump_;
    MemoryImageFiles files_;
};
