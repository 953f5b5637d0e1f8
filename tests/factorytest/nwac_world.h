#pragma once
// The Ethernet product bench's world: the bench I/O (units 1 and 10) and the product under test (255 or
// 128, with its loop partner at 10; 11 refuses) as Modbus TCP servers on two loopback addresses with
// the same port, and a program runner that records what it starts.
#include "bench_world.h"
#include "factorytest/ethernet_product/ethernet_product.h"
#include "platform/program_runner.h"

inline Bytes refused(const Bytes& r) {
    return {r[0], static_cast<uint8_t>(r[1] | 0x80), 2};
}

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
            return r[0] == 10 ? partner.execute(r) : refused(r);
        });
        benchPeer.setResponder([this](const Bytes& r) { return (r[0] == 1 ? outputs : ac).execute(r); });
        const uint16_t port = productPeer.startTcp("127.0.0.2");
        benchPeer.startTcp("127.0.0.3", port);
        comm->CurrentDevice.Port = static_cast<int16_t>(port);
        bench.endpoints = {"127.0.0.3", "127.0.0.2"};
    }
    uint16_t outputWord() const { return outputs.holding(9); }
    uint16_t acWord() const { return ac.holding(9); }

    SimController outputs{1}, ac{10}, product{255}, partner{10};
    SimController productPeer, benchPeer;
    QtLinkPort socket;
    RecordingRunner runner;
    EthernetProductBench bench{app, socket, runner};
};
