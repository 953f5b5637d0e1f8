#pragma once
// The calibration bench against the simulated analog module world: the module's Modbus line on a
// pseudo-terminal, the instruments in-process, an operator who does what the prompts say, and a
// virtual clock, so that a whole run takes milliseconds.
#include <filesystem>
#include <fstream>
#include <memory>

#include "core/app_context.h"
#include "core/language.h"
#include "factorytest/calibration_bench/calibration_bench.h"
#include "platform/qt_event_pump.h"
#include "platform/qt_link_port.h"
#include "support/analog_world.h"
#include "support/fake_dialogs.h"
#include "support/fake_serial_port.h"
#include "support/qt_test_app.h"
#include "support/sim_controller.h"

// Pauses move a virtual clock; waits for the link still run in real time, since its answers do.
class VirtualClockPump : public EventPump {
  public:
    std::function<void()> onEvents;
    void processEvents() override {
        real_.processEvents();
        if (onEvents) onEvents();
    }
    void pausa(double seconds) override {
        ms_ += static_cast<int64_t>(seconds * 1000);
        processEvents();
    }
    bool waitUntil(const std::function<bool()>& done, int timeoutMs, bool excludeUserInput) override {
        return real_.waitUntil(done, timeoutMs, excludeUserInput);
    }
    int64_t nowMs() const override { return ms_; }

  private:
    QtEventPump real_;
    int64_t ms_ = 0;
};

// Fresh program state around a bench, with these dialogs and the virtual clock.
template <class Dialogs = FakeDialogs> struct WorldContext {
    WorldContext() { QtTestApp(); }
    std::unique_ptr<ShellState> shell = std::make_unique<ShellState>();
    std::unique_ptr<CommState> comm = std::make_unique<CommState>();
    std::unique_ptr<Project> project = std::make_unique<Project>();
    VirtualClockPump pump;
    Dialogs dialogs;
    QtLinkPort link;
    AppContext app{*shell, *comm, *project, pump, dialogs, &link};
};

// Sets the calibrator as asked and the dip-switches off when told; every box is recorded.
struct BenchOperator : FakeDialogs {
    AnalogWorld* world = nullptr;
    std::function<void(const std::string&)> onPrompt;
    MsgChoice messageBox(const std::string& text, MsgButtons b, MsgIcon i, const std::string& t) override {
        world->operatorReads(text);
        if (onPrompt) onPrompt(text);
        return FakeDialogs::messageBox(text, b, i, t);
    }
};

inline constexpr size_t ImageValues = 2001;

struct BenchWorld : WorldContext<BenchOperator> {
    explicit BenchWorld(int model, const std::string& image = {}) : world(model) {
        dialogs.world = &world;
        std::filesystem::create_directories(folder);
        std::string text = image;
        for (size_t i = 0; image.empty() && i < ImageValues; ++i)
            text += std::to_string((i * 7) % 256) + "\r\n";
        std::ofstream(folder / BenchModels[static_cast<size_t>(model)].ImageFile, std::ios::binary) << text;
        CaricaRisorse(*shell, 1);
        // The module identifies as the model the link already has: no question about changing it.
        const std::string& code = shell->Models[0].ModelCode;
        auto digit = [&](size_t i) {
            return static_cast<uint16_t>(std::stoi(code.substr(i, 1), nullptr, 16));
        };
        world.setIdentification(static_cast<uint16_t>(digit(0) << 8 | digit(1)),
                                static_cast<uint16_t>(digit(2) << 8 | digit(3)));
        comm->CurrentDevice.ModelIndex = 0;
        sim.setResponder([this](const Bytes& r) { return world.respond(r); });
        ports.Devices[BenchModels[static_cast<size_t>(model)].LinkPort] = sim.startRtu();
        relay.respond = [this](const std::string& b) { return world.relayUnit(b); };
        mult.respond = [this](const std::string& b) { return world.multimeter(b); };
        supply.respond = [this](const std::string& b) { return world.supply(b); };
        calib.respond = [this](const std::string& b) { return world.calibrator(b); };
        ports.Seriale_calib.Number = 9;
        if (model == 3) ports.Seriale_switch.Number = 6; // the module's link has COM5
        bench.instruments.limits.multReplyMs = 50;
        bench.lst_device_Click(model);
    }
    ~BenchWorld() { std::filesystem::remove_all(folder); }

    const BenchRow& row(int i) const { return bench.state.Rows[static_cast<size_t>(i)]; }

    AnalogWorld world;
    SimController sim;
    FakeSerialPort relay, mult, supply, calib;
    InstrumentPorts ports{relay, mult, supply, calib};
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("melqo-bench-" + std::to_string(::getpid()));
    CalibrationBench bench{app, ports, folder.string()};
};
