// The program with one factory configuration window wired to simulated peers over Modbus TCP on
// 127.0.0.1: the analog module at 247/246 with the controller at 10 ("7593"), a four-channel input module
// at 247 ("4174"), or an energy meter at 5 ("q7r218"). The window opens and reads once by itself.
// Usage: melqo_config_sim 7593|4174|q7r218
#include <iostream>
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <string>

#include "app/app_context.h"
#include "app/button_groups.h"
#include "app/startup.h"
#include "app/ui/main_window.h"
#include "app/ui/shell_bindings.h"
#include "comm/link.h"
#include "factorytest/ui/conf_jxv4174.h"
#include "factorytest/ui/conf_jxv7593.h"
#include "factorytest/ui/frm_q7r218.h"
#include "platform/qt_event_pump.h"
#include "platform/qt_link_port.h"
#include "platform/qt_user_dialogs.h"
#include "support/config_peers.h"
#include "support/sim_controller.h"

namespace {

void fillPeers(ConfigPeers& peers, const std::string& world) {
    if (world == "7593") {
        peers.addMemory(247);
        peers.addMemory(246);
        peers.addMemory(10, 65536);
        peers.addRegisters(10);
        peers.addRegisters(1);
        peers.setMemory(247, 0,
                        {0, 3, 255, 0, 0, 0, 0, 0, 2, 5, 8, 1, 17, 22, 7, 8, 16, 0, 0, 2, 3, 12, 16, 32, 3});
        peers.setMemory(247, 27,
                        {0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x5F, 0x57, 24, 25, 25, 25, 25, 25, 25, 25});
        for (int c = 0; c < 8; ++c)
            peers.setMemory(247, 43 + 3 * static_cast<size_t>(c), {0x47, 0x81, 0x3F});
        peers.setMemory(247, 256, {14, 1});
    } else if (world == "4174") {
        peers.addMemory(247, 86);
        peers.addMeasuring(247);
        peers.setMemory(247, 0, {3, 255, 0, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 4, 252});
        for (int k = 0; k < 16; ++k)
            peers.setMemory(247, 22 + 4 * static_cast<size_t>(k), {0, 0xCC, 0x8C, 0x3F});
    } else {
        peers.addRegisters(5);
        for (uint16_t r = 0; r < 54; ++r)
            peers.setHolding(5, static_cast<uint16_t>(0xC552 + r),
                             static_cast<uint16_t>(r % 2 ? 2300 + r : 0));
        peers.setHolding(5, 0xC65D, 123456 & 0xFFFF);
        peers.setHolding(5, 0xC65C, 123456 >> 16);
        for (uint16_t r = 0; r < 10; ++r)
            peers.setHolding(5, static_cast<uint16_t>(0xC950 + r), static_cast<uint16_t>(31 * r));
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::string world = argc > 1 ? argv[1] : "7593";
    ConfigPeers peers;
    fillPeers(peers, world);
    SimController line(10);
    line.setResponder([&peers](const Bytes& r) { return peers.respond(r); });

    ShellState shell;
    CommState comm;
    Project project;
    QtEventPump pump;
    QtUserDialogs dialogs;
    QtLinkPort link;
    AppContext ctx{shell, comm, project, pump, dialogs, &link};
    ShellProcedures procs = bindShellProcedures(ctx);
    MainWindow window(ctx, procs);
    dialogs.setParent(&window);
    BuildFlags internal = ThisBuild;
    internal.Internal = -1;
    Main(ctx, &window, {internal, {}});
    window.bindCommands();
    comm.CurrentDevice.Channel = 0;
    comm.CurrentDevice.IpAddress = "127.0.0.1";
    comm.CurrentDevice.Port = static_cast<int16_t>(line.startTcp());
    comm.CurrentDevice.NodeAddress = 10;
    Connetti(ctx);
    AggiornaStato(ctx);
    window.show();
    std::cout << "Simulated peers on 127.0.0.1:" << comm.CurrentDevice.Port << " for the " << world
              << " window.\n";
    QTimer::singleShot(300, &window, [&] {
        if (world == "7593")
            qobject_cast<ConfJXV7593*>(window.showConfJXV7593())->Command2->click();
        else if (world == "4174")
            window.showConfJXV4174()->findChild<QPushButton*>("Command2")->click();
        else
            qobject_cast<frm_Q7R218*>(window.showQ7R218())->cmd_Read->click();
    });
    return app.exec();
}
