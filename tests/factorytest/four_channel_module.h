#pragma once
// The four-channel input module at node 247: its memory through function 20, and a function-4 answer
// that is a measurement of the type codes the request carries (reading i = code i × 100 − 1000 × i).
#include <atomic>

#include "support/sim_controller.h"

struct FourChannelModule {
    Bytes respond(const Bytes& r) {
        if (r[1] != 4) return memory.execute(r);
        Bytes a{r[0], 4, static_cast<uint8_t>(2 * readings)};
        for (int i = 0; i < readings; ++i) {
            const auto v = static_cast<uint16_t>(r[2 + static_cast<size_t>(i)] * 100 - 1000 * i);
            a.insert(a.end(), {static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)});
        }
        return a;
    }
    SimController memory{247};
    std::atomic<int> readings{4}; // 1: answers carry one reading instead of four
};
