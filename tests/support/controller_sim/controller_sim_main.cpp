// One simulated controller of a catalogue model for trying the program by hand: Modbus TCP on 127.0.0.1
// at the given port and, with --rtu, RTU over a pseudo-terminal whose path is printed. Every request is
// printed as it arrives. Usage: melqo_controller_sim [model row or name] [--port N] [--node N] [--rtu]
// [--late MS[/N]] (every answer, or every Nth, MS late) [--mode BYTE] (the mode byte it starts with: 0x56
// debug, 0x55 release, any other value neither; 0 when not given) [--zero-id] (every Modbus TCP answer
// carries transaction id 0, as some devices' do).
// Ends on Ctrl-C.
#include <csignal>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

#include "core/language.h"
#include "core/model_catalogue.h"
#include "comm/device_procedures.h"
#include "core/shell_state.h"
#include "served_controller.h"

namespace {

struct Options {
    std::string model = std::to_string(DefaultModelIndex);
    long port = 5020;
    long node = 10;
    bool rtu = false;
    bool zeroId = false;
    long lateMs = 0, lateNth = 0;
    long mode = 0;
};

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        char* end = nullptr;
        if (a == "--rtu") {
            o.rtu = true;
        } else if (a == "--zero-id") {
            o.zeroId = true;
        } else if ((a == "--port" || a == "--node") && i + 1 < argc) {
            long& into = a == "--port" ? o.port : o.node;
            into = std::strtol(argv[++i], &end, 10);
            if (*end || into < 1 || into > (a == "--port" ? 65535 : 247)) return false;
        } else if (a == "--late" && i + 1 < argc) {
            o.lateMs = std::strtol(argv[++i], &end, 10);
            o.lateNth = *end == '/' ? std::strtol(end + 1, &end, 10) : 1;
            if (*end || o.lateMs < 0 || o.lateMs > 60000 || o.lateNth < 1) return false;
        } else if (a == "--mode" && i + 1 < argc) {
            o.mode = std::strtol(argv[++i], &end, 0);
            if (*end || o.mode < 0 || o.mode > 255) return false;
        } else if (a.starts_with("--")) {
            return false;
        } else {
            o.model = a;
        }
    }
    return true;
}

// The row named by number or by model name.
int findRow(const ModelCatalogue& models, const std::string& wanted) {
    for (int r = 0; r < FilledModelRows; ++r)
        if (wanted == std::to_string(r) || wanted == models[static_cast<size_t>(r)].ModelName) return r;
    return -1;
}

void usage(const ModelCatalogue& models) {
    std::cerr << "Usage: melqo_controller_sim [model row or name] [--port 1..65535] [--node 1..247] [--rtu]\n"
                 "       [--late MS[/N]] (every answer, or every Nth, MS late)\n"
                 "       [--mode BYTE] (mode byte at start: 0x56 debug, 0x55 release, other values neither)\n"
                 "       [--zero-id] (every Modbus TCP answer carries transaction id 0)\n"
                 "Models:\n";
    for (int r = 0; r < FilledModelRows; ++r) {
        const ModelRecord& m = models[static_cast<size_t>(r)];
        if (!m.ModelCode.empty())
            std::cerr << "  " << r << "  " << m.ModelName << " (Fw:" << m.ModelCode << ")\n";
    }
}

} // namespace

int main(int argc, char** argv) {
    ShellState shell;
    CaricaRisorse(shell, 1);
    Options options;
    const int row = parse(argc, argv, options) ? findRow(shell.Models, options.model) : -1;
    if (row < 0) {
        usage(shell.Models);
        return 2;
    }
    // Ctrl-C and SIGTERM are taken by sigwait below; the lines' threads must not see them.
    sigset_t ends;
    sigemptyset(&ends);
    sigaddset(&ends, SIGINT);
    sigaddset(&ends, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &ends, nullptr);

    const ModelRecord& model = shell.Models[static_cast<size_t>(row)];
    ServedController controller(model, static_cast<uint8_t>(options.node),
                                [](const std::string& line) { std::cout << line << std::endl; });
    controller.answerLate(static_cast<int>(options.lateMs), static_cast<int>(options.lateNth));
    controller.answerZeroId(options.zeroId);
    controller.device().setMemory(ModeByteAddress, {static_cast<uint8_t>(options.mode)});
    uint16_t port = 0;
    try {
        port = controller.startTcp(static_cast<uint16_t>(options.port));
    } catch (const std::exception& e) {
        std::cerr << e.what() << ":" << options.port << " (port in use?)\n";
        return 1;
    }
    std::cout << "Simulated " << model.ModelName << " (Fw:" << model.ModelCode << "), node " << options.node
              << ", Modbus TCP on 127.0.0.1:" << port << std::endl;
    if (options.rtu) std::cout << "RTU on " << controller.startRtu() << std::endl;
    int signal = 0;
    sigwait(&ends, &signal);
    return 0;
}
