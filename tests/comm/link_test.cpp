// Connetti and Disconnetti over the real adapters: TCP on 127.0.0.1, serial on a pseudo-terminal.
#include <gtest/gtest.h>

#include <unistd.h>

#include "comm/link.h"
#include "comm/transaction.h"
#include "support/loopback_listener.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"

namespace {

class Link : public ::testing::Test {
  protected:
    // What a connect leaves: the link, the last log line, the button groups, the boxes and the refreshes.
    auto outcome() const {
        return std::tuple(s.link.isConnected(), s.shell->log.lines().back(), s.groupCalls, s.dialogs.shown,
                          s.refreshes);
    }
    SimController sim;
    SimSession s;
};

using Groups = std::vector<std::string>;

// A refused connect says so with address and port; the next one connects, and a disconnect logs the address.
TEST_F(Link, TcpRefusedSaysWhyThenConnectsAndDisconnectsLoggingTheAddress) {
    const uint16_t port = ClosedLoopbackPort();
    EXPECT_FALSE(s.connectTcp(port));
    EXPECT_EQ(outcome(), std::tuple(false, "Connection refused  [127.0.0.1:" + std::to_string(port) + "]  ",
                                    Groups{"Puls_DebugRelease=off", "Puls_Download=off"},
                                    Groups{"Connection refused"}, 1));
    EXPECT_EQ(s.dialogs.boxes.at(0).icon, MsgIcon::Critical);

    s.groupCalls.clear();
    s.comm->LinkMode = 1;
    s.comm->TxBuffer[5] = 9;
    ASSERT_TRUE(s.connectTcp(sim.startTcp()));
    EXPECT_EQ(s.comm->LinkMode, 2);
    EXPECT_EQ(s.comm->TxBuffer[5], 0);
    EXPECT_EQ(outcome(),
              std::tuple(true, "Connected  [127.0.0.1]  ", Groups{"Puls_DebugRelease=on", "Puls_Download=on"},
                         Groups{"Connection refused"}, 2));

    s.shell->status.set(4, "Com OK");
    Disconnetti(s.app);
    EXPECT_FALSE(s.link.isConnected());
    EXPECT_EQ(s.shell->status.Text[4], "");
    EXPECT_EQ(s.shell->log.lines().back(), "Disconnect [127.0.0.1]  ");
    EXPECT_EQ(s.refreshes, 3);
}

// A link lost after a good exchange leaves no "Com OK" behind it.
TEST_F(Link, ALostLinkClearsTheLastExchangesOutcome) {
    ASSERT_TRUE(s.connectTcp(sim.startTcp()));
    s.request({10, 4, 0, 5, 0, 1});
    ASSERT_EQ(TrasmettiRicevi(s.app, 0), ComOk);
    EXPECT_EQ(s.shell->status.Text[4], "Com OK");
    sim.stop();
    EXPECT_TRUE(s.pump.waitUntil([&] { return s.comm->CurrentDevice.Connected == 0; }, 2000, false));
    EXPECT_TRUE(s.shell->log.lines().back().starts_with("Link lost"));
    EXPECT_EQ(s.shell->status.Text[4], "");
}

// A dotted row of numbers that is no IPv4 address is refused before anything is looked up or opened.
TEST_F(Link, AMalformedNumericAddressIsRefusedWithoutALookup) {
    s.comm->CurrentDevice.IpAddress = "127.0.1";
    s.comm->CurrentDevice.Port = static_cast<int16_t>(sim.startTcp());
    Connetti(s.app);
    EXPECT_EQ(s.comm->CurrentDevice.Connected, 0);
    EXPECT_EQ(s.dialogs.shown, Groups{"Invalid IP address: 127.0.1"});
    EXPECT_EQ(s.shell->log.lines().back(), "Invalid IP address: 127.0.1  ");
    EXPECT_TRUE(sim.transcript().empty());
}

// A host name is looked up first; a write larger than the system takes at once is queued and arrives whole
// and in order.
TEST_F(Link, TcpByHostNameDeliversALargeWriteWhole) {
    uint16_t port = 0;
    const int listener = ListenOnLoopback(port);
    s.link.connectTcp("localhost", port);
    ASSERT_TRUE(s.pump.waitUntil([&] { return s.link.isConnected() || s.link.failed(); }, 5000, false));
    ASSERT_TRUE(s.link.isConnected()) << s.link.error();
    const int peer = ::accept(listener, nullptr, nullptr);
    std::string sent(8 << 20, '\0');
    for (size_t i = 0; i < sent.size(); ++i)
        sent[i] = static_cast<char>(i * 7 / 3);
    ASSERT_TRUE(s.link.write(sent));
    std::string got;
    char chunk[65536];
    s.pump.waitUntil(
        [&] {
            for (ssize_t n; (n = ::recv(peer, chunk, sizeof chunk, MSG_DONTWAIT)) > 0;)
                got.append(chunk, size_t(n));
            return got.size() >= sent.size();
        },
        10000, false);
    EXPECT_TRUE(got == sent) << got.size();
    ::close(peer);
    ::close(listener);
}

TEST_F(Link, SerialOpensLogsAndDisconnectsOnlyOutsideAPollingLoop) {
    ASSERT_TRUE(s.connectRtu(sim.startRtu()));
    EXPECT_EQ(s.comm->LinkMode, 1);
    // Only AggiornaStato sets the groups of a serial link.
    EXPECT_EQ(outcome(), std::tuple(true, "Port Open  ", Groups{}, Groups{}, 1));

    s.comm->PollStop = 0;
    Disconnetti(s.app);
    EXPECT_TRUE(s.link.isConnected());
    s.comm->PollStop = 1;
    for (int pass = 0; pass < 2; ++pass) { // a second call on the closed port still logs and clears
        s.groupCalls.clear();
        Disconnetti(s.app);
        EXPECT_FALSE(s.link.isConnected());
        EXPECT_EQ(s.comm->CurrentDevice.Connected, 0);
        EXPECT_EQ(s.shell->log.lines().back(), "Disconnect [10]  ");
        EXPECT_EQ(s.groupCalls, (Groups{"Puls_DebugRelease=off", "Puls_Download=off", "Puls_Debug=off"}));
    }
}

// A port that cannot open leaves one line with the reason; no permission names the dialout group.
TEST_F(Link, SerialPortThatCannotOpenSaysWhy) {
    EXPECT_FALSE(s.connectRtu("/dev/melqo-no-such-port"));
    ASSERT_EQ(s.shell->log.lines().size(), 1u);
    EXPECT_EQ(s.shell->log.lines()[0].rfind("Port /dev/melqo-no-such-port not opened: ", 0), 0u);
    EXPECT_TRUE(s.dialogs.shown.empty());
    EXPECT_EQ(s.refreshes, 1);
    EXPECT_EQ(SerialOpenFailure(QSerialPort::PermissionError, "Permission denied", "/dev/melqo-no-such-port"),
              "Permission denied (the user must be in the dialout group)");
    EXPECT_EQ(SerialOpenFailure(QSerialPort::DeviceNotFoundError, "No such file", "/dev/melqo-no-such-port"),
              "No such file");
    if (::geteuid() == 0) GTEST_SKIP() << "root opens any device";
    const std::string path = sim.startRtu();
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    EXPECT_FALSE(s.connectRtu(path));
    EXPECT_NE(s.shell->log.lines().back().find("the user must be in the dialout group"), std::string::npos);
}

// The settings keep two stop bits and the device path comes from the port number unless one is named; the
// modem link dials with one stop bit, or says why it cannot.
TEST_F(Link, SerialSettingsAndTheModemLinkDialsWithOneStopBitOrSaysWhyNot) {
    DeviceRecord& d = s.comm->CurrentDevice;
    d.BaudRate = "19200";
    d.TwoStopBits = -1;
    EXPECT_EQ(SerialSettingsText(d), "19200,n,8,2");
    d.Port = 9;
    EXPECT_EQ(SerialDevicePath(d), "/dev/ttyS8");
    d.SerialDevice = "/dev/ttyACM0";
    EXPECT_EQ(SerialDevicePath(d), "/dev/ttyACM0");
    QSerialPort port;
    ASSERT_TRUE(ApplySerialSettings(port, "19200,e,7,2"));
    EXPECT_EQ(port.baudRate(), 19200);
    EXPECT_EQ(port.parity(), QSerialPort::EvenParity);
    EXPECT_EQ(port.dataBits(), QSerialPort::Data7);
    EXPECT_EQ(port.stopBits(), QSerialPort::TwoStop);
    for (const char* bad : {"9600,x,8,1", "9600,n,9,1", "9600,n,8,3", "fast,n,8,1", "9600,n,8", ""})
        EXPECT_FALSE(ApplySerialSettings(port, bad)) << bad;

    d.ModemDialUp = -1;
    d.BaudRate = "9600";
    EXPECT_EQ(SerialSettingsText(d), "9600,n,8,1");
    const std::string path = sim.startRtu();
    EXPECT_FALSE(s.connectRtu(path));
    EXPECT_EQ(s.dialogs.shown, Groups{"Modem link: no telephone number in the settings"});
    EXPECT_EQ(s.shell->log.lines().back(), "Modem link: no telephone number in the settings  ");

    s.shell->ModemNumber = "0123456";
    ASSERT_TRUE(s.connectRtu(path));
    EXPECT_EQ(s.shell->log.lines().size(), 2u); // no "Port Open": the dial is not awaited
    s.pump.pausa(0.1);
    const std::string dial = "atdt0, 0123456\r";
    EXPECT_EQ(sim.wire(), std::vector<Bytes>{Bytes(dial.begin(), dial.end())});
}

} // namespace
