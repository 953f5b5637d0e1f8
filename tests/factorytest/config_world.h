#pragma once
// The factory configuration windows' logic against a simulated controller over Modbus TCP on loopback:
// node 10 answering for the analog module's sub-addresses 247 and 246 (opened through register 17),
// pauses on a virtual clock.
#include "bench_world.h"
#include "comm/link.h"

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
    void openSubAddresses() {
        for (uint8_t a : {247, 246})
            sim.answerSubAddress(a);
        sim.setHolding(17, 0xF6F7);
    }
    // The requests sent since the last call.
    std::vector<Bytes> sent() {
        auto t = sim.transcript();
        sim.clearTranscript();
        return t;
    }

    SimController sim;
};
