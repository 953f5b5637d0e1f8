#pragma once
// The device search over real UDP sockets on loopback: the search binds 127.0.0.1, fake devices answer
// from 127.0.0.2..4, and the protocol's ports and broadcast address point at them.
#include <memory>
#include <QNetworkDatagram>
#include <QUdpSocket>

#include "comm/byte_helpers.h"
#include "console_peer.h"
#include "discovery/device_search.h"
#include "discovery/search_protocol.h"
#include "platform/local_addresses.h"
#include "platform/qt_datagram_socket.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"

struct FixedAddresses : LocalAddresses {
    std::vector<std::string> list{"127.0.0.1"};
    std::vector<std::string> ipv4() const override { return list; }
};

// A device on the network: answers every datagram with its reply, to the sender's address and port.
struct FakeDevice {
    explicit FakeDevice(const char* address, std::string reply = {}) : reply(std::move(reply)) {
        socket.bind(QHostAddress(address), 0);
        QObject::connect(&socket, &QUdpSocket::readyRead, &socket, [this] {
            while (socket.hasPendingDatagrams()) {
                QNetworkDatagram d = socket.receiveDatagram();
                received.push_back(d.data().toStdString());
                senders.push_back(d.senderAddress().toString().toStdString());
                ports.push_back(static_cast<uint16_t>(d.senderPort()));
                if (!this->reply.empty())
                    socket.writeDatagram(
                        QByteArray(this->reply.data(), static_cast<qsizetype>(this->reply.size())),
                        d.senderAddress(), d.senderPort());
            }
        });
    }
    std::string address() const { return socket.localAddress().toString().toStdString(); }
    uint16_t port() const { return socket.localPort(); }

    std::string reply;
    std::vector<std::string> received;
    std::vector<std::string> senders; // the address each came from
    std::vector<uint16_t> ports;      // and the port
    QUdpSocket socket;
};

// A kind-A reply: name, MAC 02-1A-2B-3C-4D-5E, stored address 192.168.1.5, mask 255.255.255.0, node, init.
inline std::string ReplyA(const std::string& name, uint8_t node, uint8_t init) {
    std::string r = name.substr(0, 7);
    r.resize(7, ' ');
    r += std::string("\x00\x02\x1A\x2B\x3C\x4D\x5E\xC0\xA8\x01\x05\xFF\xFF\xFF\x00", 15);
    r += static_cast<char>(node);
    r += static_cast<char>(init);
    r += '\x07';
    return r;
}
// A kind-B reply: 24 bytes not read, then MAC 00-20-4A-01-02-03.
inline std::string ReplyB() {
    return std::string(24, 'x') + std::string("\x00\x20\x4A\x01\x02\x03", 6);
}

// The fields a search writes into a record, in one line.
inline std::string Record(const DeviceRecord& d) {
    std::string macBytes;
    for (size_t i = 0; i < 6; ++i)
        macBytes += ByteToHex(d.MacBytes[i]);
    return d.IpAddress + ":" + std::to_string(d.Port) + " ch" + std::to_string(d.Channel) + " row" +
           std::to_string(d.ModelIndex) + " node" + std::to_string(d.NodeAddress) + " '" + d.DeviceName +
           "' mask " + d.Mask + " init" + std::to_string(d.Init) + " mac " + d.MacAddress + "/" + macBytes +
           " ipee " + DottedText({d.IpBytes[0], d.IpBytes[1], d.IpBytes[2], d.IpBytes[3]}) + " " +
           d.BaudRate + " " + d.SerialDevice;
}

// A Modbus device at the simulator's address that calls itself JXV9, version 1234, with the given node
// address.
inline void DescribeJxv9(SimController& sim, uint16_t node) {
    for (auto [reg, value] :
         {std::pair<uint16_t, uint16_t>{1, 0x0102}, {2, 0x0304}, {3, 'X' << 8 | 'J'}, {4, '9' << 8 | 'V'}})
        sim.setInput(reg, value);
    sim.setInput(6, node);
}

// A socket that may not bind a privileged port, as for a user without the capability.
struct UserSocket : QtDatagramSocket {
    BindResult bind(const std::string& address, uint16_t port) override {
        return port && port < 1024 ? BindResult::AccessDenied : QtDatagramSocket::bind(address, port);
    }
};

struct SearchFixture : SimSession {
    FakeDevice controller{"127.0.0.2", ReplyA("JXV8410", 10, 0)};
    FakeDevice gateway{"127.0.0.3", ReplyB()};
    ConsolePeer console{{{100}, {900}, {200}, {800}, {40}, {1000}, {40}}, "127.0.0.3"};
    FixedAddresses addresses;
    UserSocket udp;
    std::vector<std::string> clipboard, urls;
    int redraws = 0;
    std::unique_ptr<DeviceSearch> search;

    SearchFixture() { make(); }
    void make(uint16_t modbusPort = 502, uint16_t localPort = 0) {
        SearchPorts ports{localPort, controller.port(), modbusPort, console.port, "127.0.0.3", 9, 10};
        gateway.socket.close();
        gateway.socket.bind(QHostAddress("127.0.0.3"), controller.port());
        DiscoveryServices s;
        s.setClipboard = [this](const std::string& t) { clipboard.push_back(t); };
        s.openUrl = [this](const std::string& u) { urls.push_back(u); };
        s.redrawRegisters = [this] { ++redraws; };
        s.newTcpLink = [] { return std::make_unique<QtLinkPort>(); };
        search.reset(); // it lets go of the socket's receive event
        search = std::make_unique<DeviceSearch>(app, udp, addresses, s, ports);
        search->Form_Load();
        search->form.Loc_mask = "127.0.0.2";
        search->form.txt_Timeout = "300";
    }
    // A reply to query A arriving during a search.
    void enterA(const std::string& reply, const std::string& sender) {
        if (!search->Elenco.find("rete")) search->Elenco.add("", "rete", "Ethernet");
        comm->SearchQueryA = -1;
        search->UDP_DataArrival(reply, sender);
        comm->SearchQueryA = 0;
    }
    // The tree as "key|parent|text|image" lines.
    std::vector<std::string> lines() const {
        std::vector<std::string> out;
        for (const TreeNode& n : search->Elenco.nodes())
            out.push_back(n.Key + "|" + n.Parent + "|" + n.Text + "|" + n.Image);
        return out;
    }
};
