#pragma once
// The controller test bench's world: the unit under test (node 10) on an RTU pseudo-terminal and on
// Modbus TCP loopback, the reference unit (node 99) on the same TCP link, the I/O wiring between them,
// the RS-485 exchange counter, an operator who reads the multimeter, and a virtual clock.
#include <atomic>
#include <map>

#include "bench_world.h"
#include "factorytest/controller_bench/controller_bench.h"

// The four channels: writer bit 8 drives reader bits 8 (normally open) and 9 (normally closed),
// writer bit 9 drives bits 10 and 11.
inline uint16_t Wired(uint16_t w) {
    const bool a = w & 0x100, b = w & 0x200;
    return static_cast<uint16_t>(a << 8 | !a << 9 | b << 10 | !b << 11);
}

// Answers each question by the start of its text; everything else with OK.
struct ScriptedOperator : FakeDialogs {
    std::map<std::string, std::deque<MsgChoice>> answers;
    MsgChoice messageBox(const std::string& text, MsgButtons b, MsgIcon i, const std::string& t) override {
        FakeDialogs::messageBox(text, b, i, t);
        for (auto& [start, queue] : answers)
            if (text.rfind(start, 0) == 0 && !queue.empty()) {
                const MsgChoice c = queue.front();
                queue.pop_front();
                return c;
            }
        return MsgChoice::Ok;
    }
};

inline std::array<uint32_t, CollaudoLeds> AllLeds(uint32_t colour) {
    std::array<uint32_t, CollaudoLeds> a;
    a.fill(colour);
    return a;
}

struct ControllerWorld : WorldContext<ScriptedOperator> {
    explicit ControllerWorld(size_t values = 65001, int badValueAt = -1) {
        CaricaRisorse(*shell, 1);
        unit.setIdentification(0x08, 0x06, 0x07, 0x00);
        for (SimController* line : {&rtu, &tcp})
            line->setResponder([this](const Bytes& r) { return respond(r); });
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

    Bytes respond(const Bytes& r) {
        if (r[0] != 10 && r[0] != 99) return {}; // the broadcast address answers nothing
        const bool isUnit = r[0] == 10;
        SimController& self = isUnit ? unit : reference;
        SimController& other = isUnit ? reference : unit;
        const uint16_t reg = r.size() >= 4 ? static_cast<uint16_t>(r[2] << 8 | r[3]) : 0;
        if (r[1] == 4 && reg == 8) {
            if (!isUnit && refuseReferenceReads) return {r[0], 0x84, 2};
            self.setInput(8, Wired(other.holding(9)) | (isUnit ? inputStuckHigh.load() : 0));
        }
        if (r[1] == 4 && !isUnit && reg == 26)
            reference.setInput(26, exchangeEnabled ? reference.holding(26) : 0);
        if (r[1] == 4 && isUnit && reg == 27 && reference.holding(26) == 1)
            unit.setInput(27, static_cast<uint16_t>(unit.input(27) + counterStep));
        return self.execute(r);
    }

    std::atomic<uint16_t> inputStuckHigh{0}; // the unit's input bits stuck on
    std::atomic<bool> refuseReferenceReads{false};
    std::atomic<bool> exchangeEnabled{true}; // the reference unit keeps its enable flag
    std::atomic<int> counterStep{100};       // exchanges counted between two reads

    SimController unit{10}, reference{99};
    SimController rtu, tcp;
    std::filesystem::path program =
        std::filesystem::temp_directory_path() / ("melqo-8410-" + std::to_string(::getpid()) + ".hex");
    QtLinkPort mult, supply;
    ControllerBench bench{app, mult, supply};
};
