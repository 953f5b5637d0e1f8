// Connetti and Disconnetti over the real adapters: TCP on 127.0.0.1, serial on a pseudo-terminal.
#include <gtest/gtest.h>

#include <unistd.h>

#include "comm/link.h"
#include "support/loopback_listener.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"

namespace {

TEST(Connetti, TcpConnectsLogsAndEnablesTheLinkGroups) {
    SimController sim;
    SimSession s;
    s.comm->LinkMode = 1;
    s.comm->TxBuffer[5] = 9;
    ASSERT_TRUE(s.connectTcp(sim.startTcp()));
    EXPECT_EQ(s.comm->LinkMode, 2);
    EXPECT_EQ(s.comm->TxBuffer[5], 0);
    EXPECT_EQ(s.shell->log.lines().back(), "Connected  [127.0.0.1]  ");
    EXPECT_EQ(s.groupCalls, (std::vector<std::string>{"Puls_DebugRelease=on", "Puls_Download=on"}));
    EXPECT_EQ(s.refreshes, 1);
    EXPECT_TRUE(s.dialogs.shown.empty());
}

TEST(Connetti, TcpRefusedSaysSoWithAddressAndPort) {
    SimSession s;
    const uint16_t port = ClosedLoopbackPort();
    EXPECT_FALSE(s.connectTcp(port));
    ASSERT_EQ(s.dialogs.boxes.size(), 1u);
    EXPECT_EQ(s.dialogs.boxes[0].text, "Connection refused");
    EXPECT_EQ(s.dialogs.boxes[0].icon, MsgIcon::Critical);
    EXPECT_EQ(s.shell->log.lines().back(), "Connection refused  [127.0.0.1:" + std::to_string(port) + "]  ");
    EXPECT_EQ(s.groupCalls, (std::vector<std::string>{"Puls_DebugRelease=off", "Puls_Download=off"}));
    EXPECT_FALSE(s.link.isConnected());
    EXPECT_EQ(s.refreshes, 1);
}

// A host name is looked up first; a write larger than the system takes at once is queued and arrives whole
// and in order.
TEST(Connetti, TcpByHostNameDeliversALargeWriteWhole) {
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(::listen(listener, 1), 0);
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len);
    SimSession s;
    s.link.connectTcp("localhost", ntohs(addr.sin_port));
    ASSERT_TRUE(s.pump.waitUntil([&] { return s.link.isConnected() || s.link.failed(); }, 5000, false));
    ASSERT_TRUE(s.link.isConnected()) << s.link.error();
    const int peer = ::accept(listener, nullptr, nullptr);
    std::string sent(8 << 20, '\0');
    for (size_t i = 0; i < sent.size(); ++i) sent[i] = static_cast<char>(i * 7 / 3);
    ASSERT_TRUE(s.link.write(sent));
    std::string got;
    s.pump.waitUntil(
        [&] {
            char chunk[65536];
            ssize_t n;
            while ((n = ::recv(peer, chunk, sizeof chunk, MSG_DONTWAIT)) > 0) got.append(chunk, size_t(n));
            return got.size() >= sent.size();
        },
        10000, false);
    EXPECT_TRUE(got == sent) << got.size();
    ::close(peer);
    ::close(listener);
}

TEST(Connetti, SerialOpensThePortAndLogsIt) {
    SimController sim;
    SimSession s;
    ASSERT_TRUE(s.connectRtu(sim.startRtu()));
    EXPECT_EQ(s.comm->LinkMode, 1);
    EXPECT_EQ(s.shell->log.lines().back(), "Port Open  ");
    EXPECT_TRUE(s.groupCalls.empty()); // only AggiornaStato sets the groups of a serial link
    EXPECT_EQ(s.refreshes, 1);
}

TEST(Connetti, SerialPortThatCannotOpenLeavesOneLineWithTheReason) {
    SimSession s;
    s.comm->CurrentDevice.Connected = 0;
    EXPECT_FALSE(s.connectRtu("/dev/melqo-no-such-port"));
    ASSERT_EQ(s.shell->log.lines().size(), 1u);
    EXPECT_EQ(s.shell->log.lines()[0].rfind("Port /dev/melqo-no-such-port not opened: ", 0), 0u);
    EXPECT_TRUE(s.dialogs.shown.empty());
    EXPECT_EQ(s.refreshes, 1);
}

TEST(Connetti, SerialPermissionDeniedNamesTheDialoutGroup) {
    if (::geteuid() == 0) GTEST_SKIP() << "root opens any device";
    SimController sim;
    const std::string path = sim.startRtu();
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    SimSession s;
    EXPECT_FALSE(s.connectRtu(path));
    EXPECT_NE(s.shell->log.lines().back().find("the user must be in the dialout group"), std::string::npos);
}

TEST(Connetti, PermissionDeniedTextNamesTheDialoutGroup) {
    EXPECT_EQ(SerialOpenFailure(QSerialPort::PermissionError, "Permission denied"),
              "Permission denied (the user must be in the dialout group)");
    EXPECT_EQ(SerialOpenFailure(QSerialPort::DeviceNotFoundError, "No such file or directory"),
              "No such file or directory");
}

TEST(Connetti, ModemLinkDialsWithOneStopBitAndRtsHandshake) {
    SimController sim;
    SimSession s;
    s.shell->ModemNumber = "0123456";
    s.comm->CurrentDevice.ModemDialUp = -1;
    s.comm->CurrentDevice.TwoStopBits = -1;
    EXPECT_EQ(SerialSettingsText(s.comm->CurrentDevice), "9600,n,8,1");
    ASSERT_TRUE(s.connectRtu(sim.startRtu()));
    EXPECT_TRUE(s.shell->log.lines().empty());
    s.pump.pausa(0.1);
    const std::string dial = "atdt0, 0123456\r";
    ASSERT_FALSE(sim.wire().empty());
    EXPECT_EQ(sim.wire()[0], Bytes(dial.begin(), dial.end()));
}

TEST(Connetti, ModemLinkWithoutANumberFailsAndSaysWhy) {
    SimController sim;
    SimSession s;
    s.comm->CurrentDevice.ModemDialUp = -1;
    EXPECT_FALSE(s.connectRtu(sim.startRtu()));
    EXPECT_FALSE(s.link.isConnected());
    ASSERT_EQ(s.dialogs.boxes.size(), 1u);
    EXPECT_EQ(s.dialogs.boxes[0].text, "Modem link: no telephone number in the settings");
    EXPECT_EQ(s.shell->log.lines().back(), "Modem link: no telephone number in the settings  ");
}

TEST(SerialDevice, SettingsTextAndDevicePath) {
    DeviceRecord d;
    d.BaudRate = "19200";
    EXPECT_EQ(SerialSettingsText(d), "19200,n,8,1");
    d.TwoStopBits = -1;
    EXPECT_EQ(SerialSettingsText(d), "19200,n,8,2");
    d.Port = 9;
    EXPECT_EQ(SerialDevicePath(d), "/dev/ttyS8");
    d.SerialDevice = "/dev/ttyACM0";
    EXPECT_EQ(SerialDevicePath(d), "/dev/ttyACM0");
}

TEST(SerialDevice, SettingsTextIsAppliedToThePort) {
    QtTestApp();
    QSerialPort port;
    ASSERT_TRUE(ApplySerialSettings(port, "19200,e,7,2"));
    EXPECT_EQ(port.baudRate(), 19200);
    EXPECT_EQ(port.parity(), QSerialPort::EvenParity);
    EXPECT_EQ(port.dataBits(), QSerialPort::Data7);
    EXPECT_EQ(port.stopBits(), QSerialPort::TwoStop);
    for (const char* bad : {"9600,x,8,1", "9600,n,9,1", "9600,n,8,3", "fast,n,8,1", "9600,n,8", ""})
        EXPECT_FALSE(ApplySerialSettings(port, bad)) << bad;
}

TEST(Disconnetti, DoesNothingWhileAPollingLoopRuns) {
    SimController sim;
    SimSession s;
    ASSERT_TRUE(s.connectRtu(sim.startRtu()));
    s.comm->PollStop = 0;
    Disconnetti(s.app);
    EXPECT_TRUE(s.link.isConnected());
    EXPECT_EQ(s.comm->CurrentDevice.Connected, -1);
}

TEST(Disconnetti, SerialClosesLogsTheNodeAndDisablesTheGroups) {
    SimController sim;
    SimSession s;
    ASSERT_TRUE(s.connectRtu(sim.startRtu()));
    for (int pass = 0; pass < 2; ++pass) { // a second call on the closed port still logs and clears
        s.groupCalls.clear();
        Disconnetti(s.app);
        EXPECT_FALSE(s.link.isConnected());
        EXPECT_EQ(s.comm->CurrentDevice.Connected, 0);
        EXPECT_EQ(s.shell->log.lines().back(), "Disconnect [10]  ");
        EXPECT_EQ(s.groupCalls,
                  (std::vector<std::string>{"Puls_DebugRelease=off", "Puls_Download=off", "Puls_Debug=off"}));
    }
}

TEST(Disconnetti, TcpClosesEmptiesPanelFourAndLogsTheAddress) {
    SimController sim;
    SimSession s;
    ASSERT_TRUE(s.connectTcp(sim.startTcp()));
    s.shell->status.set(4, "Com OK");
    Disconnetti(s.app);
    EXPECT_FALSE(s.link.isConnected());
    EXPECT_EQ(s.shell->status.Text[4], "");
    EXPECT_EQ(s.shell->log.lines().back(), "Disconnect [127.0.0.1]  ");
    EXPECT_EQ(s.refreshes, 2);
}

} // namespace
