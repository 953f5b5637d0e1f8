#pragma once
// The factory benches and windows against their simulated worlds, pauses on a virtual clock.
#include <atomic>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "collaudo_units.h"
#include "comm/link.h"
#include "core/app_context.h"
#include "core/language.h"
#include "factorytest/calibration_bench/calibration_bench.h"
#include "factorytest/controller_bench/controller_bench.h"
#include "factorytest/ethernet_product/ethernet_product.h"
#include "platform/program_runner.h"
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

// Sets the calibrator as asked and the dip-switches off when told, and answers each question by the
// start of its text (everything else as the recording dialogs do); every box is recorded.
struct BenchOperator : FakeDialogs {
    AnalogWorld* world = nullptr;
    std::function<void(const std::string&)> onPrompt;
    std::map<std::string, std::deque<MsgChoice>> answers;
    MsgChoice messageBox(const std::string& text, MsgButtons b, MsgIcon i, const std::string& t) override {
        if (world) world->operatorReads(text);
        if (onPrompt) onPrompt(text);
        const MsgChoice choice = FakeDialogs::messageBox(text, b, i, t);
        for (auto& [start, queue] : answers)
            if (text.rfind(start, 0) == 0 && !queue.empty()) {
                const MsgChoice c = queue.front();
                queue.pop_front();
                return c;
            }
        return choice;
    }
};

// The calibration bench: the module's Modbus line on a pseudo-terminal, the instruments in-process, and
// an operator who does what the prompts say, so that a whole run takes milliseconds.
struct BenchWorld : WorldContext<BenchOperator> {
    explicit BenchWorld(int model, const std::string& image = {}) : world(model) {
        dialogs.world = &world;
        std::filesystem::create_directories(folder);
        std::ofstream(folder / BenchModels[static_cast<size_t>(model)].ImageFile, std::ios::binary)
            << (image.empty() ? ImageText() : image);
        CaricaRisorse(*shell, 1);
        // The module identifies as the model the link already has: no question about changing it.
        world.identifyAs(shell->Models[0].ModelCode);
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

// The factory configuration windows' logic against a simulated controller over Modbus TCP on loopback:
// node 10 answering for the analog module's sub-addresses 247 and 246 (opened through register 17).
struct ConfigWorld : WorldContext<> {
    explicit ConfigWorld(uint8_t node = 10) : sim(node) {
        comm->CurrentDevice.NodeAddress = 10;
        comm->CurrentDevice.Channel = 0;
        comm->CurrentDevice.IpAddress = "127.0.0.1";
        shell->Models[0].ProgramEnd = 6146;
        comm->CurrentDevice.ModelIndex = 0;
    }
    // Starts the simulator (after any responder is set) and connects to it.
    bool connect() {
        comm->CurrentDevice.Port = static_cast<int16_t>(sim.startTcp());
        Connetti(app);
        return comm->CurrentDevice.Connected != 0;
    }
    // The requests sent since the last call.
    std::vector<Bytes> sent() {
        auto t = sim.transcript();
        sim.clearTranscript();
        return t;
    }

    SimController sim;
};

// The controller test bench's world: the unit under test (node 10) on an RTU pseudo-terminal and on
// Modbus TCP loopback, the reference unit (node 99) on the same TCP link, and an operator who reads the
// multimeter.
struct ControllerWorld : WorldContext<BenchOperator>, CollaudoUnits {
    explicit ControllerWorld(size_t values = 65001, int badValueAt = -1) {
        CaricaRisorse(*shell, 1);
        unit.setIdentification(0x08, 0x06, 0x07, 0x00);
        for (SimController* line : {&rtu, &tcp})
            line->setResponder([this](const Bytes& r) {
                const uint16_t reg = r.size() >= 4 ? static_cast<uint16_t>(r[2] << 8 | r[3]) : 0;
                if (static_cast<uint32_t>(r[0] << 24 | r[1] << 16 | reg) == stopDuring && --stopNth == 0)
                    stopClicked = true;
                return respond(r);
            });
        bench.settings.Devices[1] = rtu.startRtu();
        bench.settings.EthernetAddress = "127.0.0.1";
        bench.settings.EthernetPort = static_cast<int16_t>(tcp.startTcp());
        bench.settings.ProgramFile = program.string();
        std::string text;
        for (size_t i = 0; i < values; ++i)
            text += (static_cast<int>(i) == badValueAt ? "256" : std::to_string(i % 251)) + "\r\n";
        std::ofstream(program, std::ios::binary) << text;
        bench.clock = [] {
            std::tm t{};
            t.tm_year = 116, t.tm_mon = 1, t.tm_mday = 3, t.tm_hour = 9, t.tm_min = 5, t.tm_sec = 7;
            return t;
        };
        dialogs.inputs = {"0.1", "0.05"}; // the operator's multimeter readings, in amperes
    }
    ~ControllerWorld() { std::filesystem::remove(program); }

    void tickAll(bool init, bool base) {
        bench.state.Init = init;
        bench.state.Base = base;
        bench.state.Ticked.fill(true);
    }

    // STOP is clicked while the stopNth request to this node, function and register (node << 24 |
    // function << 16 | register) waits for its answer: the click is held until the request has returned.
    std::atomic<uint32_t> stopDuring{0};
    std::atomic<int> stopNth{0};
    std::atomic<bool> stopClicked{false};

    SimController rtu, tcp;
    std::filesystem::path program =
        std::filesystem::temp_directory_path() / ("melqo-8410-" + std::to_string(::getpid()) + ".hex");
    QtLinkPort mult, supply;
    ControllerBench bench{app, mult, supply};
};

// The Ethernet product bench's world: the bench I/O (units 1 and 10) and the product under test (255 or
// 128, with its loop partner at 10; 11 refuses) as Modbus TCP servers on two loopback addresses with
// the same port, and a program runner that records what it starts.
class RecordingRunner : public ProgramRunner {
  public:
    std::vector<std::vector<std::string>> started;
    ProgramRun run(const std::string&, const std::vector<std::string>&, int) override { return {}; }
    bool startDetached(const std::string& program, const std::vector<std::string>& args) override {
        started.push_back({program});
        started.back().insert(started.back().end(), args.begin(), args.end());
        return true;
    }
    bool exists(const std::string&) override { return true; }
};

struct NwacWorld : WorldContext<> {
    NwacWorld() {
        partner.setIdentification(0x08, 0x06, 0, 0);
        productPeer.setResponder([this](const Bytes& r) {
            if (r[0] == 255 || r[0] == 128) return product.execute(r);
            if (r[0] == 11 && emptyAnswers) return Bytes{11, r[1], 0};
            return r[0] == 10 ? partner.execute(r) : Bytes{r[0], static_cast<uint8_t>(r[1] | 0x80), 2};
        });
        benchPeer.setResponder([this](const Bytes& r) { return (r[0] == 1 ? outputs : ac).execute(r); });
        const uint16_t port = productPeer.startTcp("127.0.0.2");
        benchPeer.startTcp("127.0.0.3", port);
        comm->CurrentDevice.Port = static_cast<int16_t>(port);
        bench.endpoints = {"127.0.0.3", "127.0.0.2"};
    }
    uint16_t outputWord() const { return outputs.holding(9); }
    uint16_t acWord() const { return ac.holding(9); }

    std::atomic<bool> emptyAnswers = false; // slave 11 answers with no register at all
    SimController outputs{1}, ac{10}, product{255}, partner{10};
    SimController productPeer, benchPeer;
    QtLinkPort socket;
    RecordingRunner runner;
    EthernetProductBench bench{app, socket, runner};
};
