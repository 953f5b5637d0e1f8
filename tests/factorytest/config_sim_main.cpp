// The program with one factory configuration window wired to simulated peers over Modbus TCP on
// 127.0.0.1: the analog module at 247/246 with the controller at 10 ("7593"), a four-channel input module
// at 247 ("4174"), or an energy meter at 5 ("q7r218"). The window opens and reads once by itself.
// Usage: melqo_config_sim 7593|4174|q7r218
#include <iostream>
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <string>

#include "comm/link.h"
#include "factorytest/ui/conf_jxv4174.h"
#include "factorytest/ui/conf_jxv7593.h"
#include "factorytest/ui/frm_q7r218.h"
#include "four_channel_module.h"
#include "sim_shell.h"

namespace {

// The devices of the three worlds, each answering what is addressed to it.
struct Peers {
    Peers() {
        analog.setMemory(0,
                         {0, 3, 255, 0, 0, 0, 0, 0, 2, 5, 8, 1, 17, 22, 7, 8, 16, 0, 0, 2, 3, 12, 16, 32, 3});
        analog.setMemory(27,
                         {0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x5F, 0x57, 24, 25, 25, 25, 25, 25, 25, 25});
        for (uint32_t c = 0; c < 8; ++c)
            analog.setMemory(43 + 3 * c, {0x47, 0x81, 0x3F});
        analog.setMemory(256, {14, 1});
        module.memory.setMemory(0, {3, 255, 0, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 4, 252});
        for (uint32_t k = 0; k < 16; ++k)
            module.memory.setMemory(22 + 4 * k, {0, 0xCC, 0x8C, 0x3F});
        for (uint16_t r = 0; r < 54; ++r)
            meter.setHolding(static_cast<uint16_t>(0xC552 + r), static_cast<uint16_t>(r % 2 ? 2300 + r : 0));
        meter.setHolding(0xC65D, 123456 & 0xFFFF);
        meter.setHolding(0xC65C, 123456 >> 16);
        for (uint16_t r = 0; r < 10; ++r)
            meter.setHolding(static_cast<uint16_t>(0xC950 + r), static_cast<uint16_t>(31 * r));
    }
    Bytes respond(const std::string& world, const Bytes& r) {
        if (world == "4174") return r[0] == 247 ? module.respond(r) : Bytes{};
        for (SimController* s : {&controller, &switches, &analog, &analog2, &meter})
            if (s->node() == r[0]) return s->execute(r);
        return {};
    }
    SimController controller{10}, switches{1}, analog{247}, analog2{246}, meter{5};
    FourChannelModule module;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::string world = argc > 1 ? argv[1] : "7593";
    Peers peers;
    SimController line(10);
    line.setResponder([&](const Bytes& r) { return peers.respond(world, r); });

    QtUserDialogs dialogs;
    SimShell sim(dialogs);
    CommState& comm = sim.comm;
    comm.CurrentDevice.Channel = 0;
    comm.CurrentDevice.IpAddress = "127.0.0.1";
    comm.CurrentDevice.Port = static_cast<int16_t>(line.startTcp());
    comm.CurrentDevice.NodeAddress = 10;
    Connetti(sim.ctx);
    AggiornaStato(sim.ctx);
    sim.window.show();
    std::cout << "Simulated peers on 127.0.0.1:" << comm.CurrentDevice.Port << " for the " << world
              << " window.\n";
    QTimer::singleShot(300, &sim.window, [&] {
        if (world == "7593")
            qobject_cast<ConfJXV7593*>(sim.window.showConfJXV7593())->Command2->click();
        else if (world == "4174")
            sim.window.showConfJXV4174()->findChild<QPushButton*>("Command2")->click();
        else
            qobject_cast<frm_Q7R218*>(sim.window.showQ7R218())->cmd_Read->click();
    });
    return app.exec();
}
