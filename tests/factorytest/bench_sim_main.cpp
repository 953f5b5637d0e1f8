// The program with the analog calibration bench wired to the simulated bench world: the module and the
// four instruments on pseudo-terminals, and an operator's hand on the calibrator that sets it as each
// prompt asks once OK is pressed. Usage: melqo_bench_sim [model 0..3] [fault], where the fault is one of
// "output" (an output gain too large for its constants), "cjc" (a cold junction 20 degrees off),
// "mult" (a silent multimeter), "garbage" (a multimeter that answers with endless garbage), "talk" (a
// multimeter that never answers a query but sends its reading on its own every 1.3 s, slowly: a byte
// every 40 ms), "pause" (the same multimeter, its lines going out a byte a millisecond but each with a
// pause of 0.5 s after its first 12 bytes), "stray" (a multimeter that answers when asked and sends a
// stray byte on its own every 1.7 s: 0xFF, 0x00, a letter, a digit, a blank and a TAB in turn), "cut" (a
// multimeter that answers when asked and sends its reading on its own every 1.3 s, each line cut after its
// first 12 bytes by a stray CR or LF in turn, its rest following 150 to 300 ms later) or "dips" (JXV2569's
// dip-switches left on).
// "melqo_bench_sim collaudo [MS]" serves the controller test bench's peers instead, the unit under test
// (starting in debug mode) and the reference unit, at the bench's address 192.168.1.100:502, which must be
// on a local interface; every request is printed, every answer goes MS late (0 when not given). Both bench
// windows open.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <QApplication>
#include <thread>

#include "core/model_catalogue.h"
#include "collaudo_units.h"
#include "comm/device_procedures.h"
#include "factorytest/calibration_bench/bench_tables.h"
#include "sim_shell.h"
#include "support/analog_world.h"
#include "support/pty_instrument.h"
#include "support/sim_controller.h"

namespace {

class WorldDialogs : public QtUserDialogs {
  public:
    explicit WorldDialogs(AnalogWorld& world) : world_(world) {}
    MsgChoice messageBox(const std::string& text, MsgButtons b, MsgIcon i, const std::string& t) override {
        const MsgChoice choice = QtUserDialogs::messageBox(text, b, i, t);
        world_.operatorReads(text);
        return choice;
    }

  private:
    AnalogWorld& world_;
};

// A memory image beside the program, for every model that has none there yet.
void writeImages(const std::string& folder) {
    for (const BenchModelInfo& m : BenchModels) {
        const auto path = std::filesystem::path(folder) / m.ImageFile;
        if (!std::filesystem::exists(path)) std::ofstream(path, std::ios::binary) << ImageText();
    }
}

// The program, its link set on the unit under test, beside the controller bench's peers.
int RunCollaudo(QApplication& app, QtUserDialogs& dialogs, int lateMs) {
    CollaudoUnits units;
    units.unit.setIdentification(0x08, 0x06, 0x07, 0x00);
    units.unit.setMemory(ModeByteAddress, {ModeDebug});
    SimController line;
    line.setResponder([&units, lateMs](const Bytes& r) {
        std::string text;
        for (uint8_t b : r)
            text += " " + std::to_string(b);
        std::cout << "request" << text << std::endl;
        std::this_thread::sleep_for(std::chrono::milliseconds(lateMs));
        return units.respond(r);
    });
    try {
        line.startTcp("192.168.1.100", 502);
    } catch (const std::exception& e) {
        std::cerr << e.what() << ": 192.168.1.100:502 is not on a local interface, or taken\n";
        return 1;
    }
    SimShell sim(dialogs);
    DeviceRecord& d = sim.comm.CurrentDevice;
    d.Channel = 0, d.IpAddress = "192.168.1.100", d.Port = 502, d.NodeAddress = 10;
    // The model the unit identifies as (08 06 07 00), chosen already: a connect asks nothing.
    for (int r = 0; r < FilledModelRows; ++r)
        if (sim.shell.Models[static_cast<size_t>(r)].ModelCode == "8670") d.ModelIndex = static_cast<uint8_t>(r);
    AggiornaStato(sim.ctx);
    std::cout << "Controller bench peers on 192.168.1.100:502: connect, then press START in COLLAUDO."
              << std::endl;
    sim.window.show();
    sim.window.showColl7593(); // behind, for its STOP with no run of its own
    sim.window.showCollaudo();
    return app.exec();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc > 1 && std::string(argv[1]) == "collaudo") {
        QtUserDialogs dialogs;
        return RunCollaudo(app, dialogs, argc > 2 ? std::max(0, std::atoi(argv[2])) : 0);
    }
    const int model = argc > 1 ? std::clamp(std::atoi(argv[1]), 0, 3) : 0;
    AnalogWorld world(model);
    const std::string fault = argc > 2 ? argv[2] : "";
    if (fault == "output") world.errors.outputGain = 2;
    if (fault == "cjc") world.errors.cjcError = 20;
    if (fault == "mult" || fault == "talk" || fault == "pause") world.multimeterSilent = true;
    if (fault == "dips") world.setDips(1);
    SimController module;
    module.setResponder([&world](const Bytes& r) { return world.respond(r); });
    PtyInstrument relay([&](const std::string& b) { return world.relayUnit(b); });
    PtyTalk talk;
    if (fault == "talk")
        talk = {[&world] { return world.multimeterLine(); }, std::chrono::milliseconds(1300),
                std::chrono::milliseconds(40)};
    if (fault == "pause")
        talk = {[&world] { return world.multimeterLine(); }, std::chrono::milliseconds(1300),
                std::chrono::milliseconds(1), 12, std::chrono::milliseconds(500)};
    if (fault == "stray")
        talk = {[next = size_t{0}]() mutable {
                    static const std::string Strays("\xFF\0a7 \t", 6);
                    return std::string(1, Strays[next++ % Strays.size()]);
                },
                std::chrono::milliseconds(1700)};
    if (fault == "cut")
        talk = {[&world, next = 0]() mutable {
                    std::string line = world.multimeterLine();
                    return line.insert(12, 1, next++ % 2 ? '\n' : '\r');
                },
                std::chrono::milliseconds(1300),
                std::chrono::milliseconds(1),
                13,
                std::chrono::milliseconds(150),
                std::chrono::milliseconds(150)};
    PtyInstrument mult([&](const std::string& b) { return world.multimeter(b); },
                       fault == "garbage" ? std::string(200, '#') : std::string(), talk);
    PtyInstrument supply([&](const std::string& b) { return world.supply(b); });
    PtyInstrument calib([&](const std::string& b) { return world.calibrator(b); });

    WorldDialogs dialogs(world);
    SimShell sim(dialogs);
    // The module carries the catalogue identity of the device the bench names, and the program has
    // that model chosen: the run opens without a question about the device.
    const std::string& name =
        sim.shell.ModelNames[static_cast<size_t>(BenchModels[static_cast<size_t>(model)].NameEntry)];
    for (int r = 0; r < FilledModelRows; ++r)
        if (sim.shell.Models[static_cast<size_t>(r)].ModelName == name) {
            world.identifyAs(sim.shell.Models[static_cast<size_t>(r)].ModelCode);
            sim.comm.CurrentDevice.ModelIndex = static_cast<uint8_t>(r);
        }
    AggiornaStato(sim.ctx);
    InstrumentPorts& ports = sim.window.benchPorts();
    const int relayCom = model == 3 ? 6 : 5; // JXV2569's link has COM5
    ports.Seriale_switch.Number = relayCom;
    ports.Seriale_calib.Number = 9;
    ports.Devices = {{relayCom, relay.path()},
                     {3, mult.path()},
                     {4, supply.path()},
                     {9, calib.path()},
                     {BenchModels[static_cast<size_t>(model)].LinkPort, module.startRtu()}};
    writeImages(QCoreApplication::applicationDirPath().toStdString());
    std::cout << "Simulated bench for " << BenchModels[static_cast<size_t>(model)].ListText
              << ": open Collaudo > Collaudo > JXV7593, choose the model and press START.\n";
    sim.window.show();
    sim.window.showColl7593();
    const int exitCode = app.exec();
    std::cout << "Simulated power supply at exit: output " << (world.supplyOn() ? "on" : "off")
              << ", commands";
    for (const std::string& command : world.supplyCommands())
        std::cout << " " << command;
    std::cout << "\n";
    return exitCode;
}
