#pragma once
// The controller test bench's peers on one Modbus link: the unit under test (node 10), the reference
// unit (node 99), the I/O wiring between them and the RS-485 exchange counter, which counts while the
// reference unit's enable flag (register 26) is 1.
#include <atomic>

#include "support/sim_controller.h"

// The four channels: writer bit 8 drives reader bits 8 (normally open) and 9 (normally closed),
// writer bit 9 drives bits 10 and 11.
inline uint16_t Wired(uint16_t w) {
    const bool a = w & 0x100, b = w & 0x200;
    return static_cast<uint16_t>(a << 8 | !a << 9 | b << 10 | !b << 11);
}

struct CollaudoUnits {
    // The answer of the node addressed; a responder of a SimController, on the simulator's thread.
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
};
