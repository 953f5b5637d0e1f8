#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTcpServer>
#include <QTcpSocket>
#include <thread>

#include "discovery/ui/tcp_terminal.h"
#include "platform/qt_event_pump.h"
#include "support/loopback_listener.h"

namespace {

// A console that floods 30,000 lines and one endless line keeps its bounded scroll-back, newest last.
TEST(TcpTerminal, AFloodKeepsTheScrollBackBounded) {
    uint16_t port = 0;
    const int listener = ListenOnLoopback(port);
    std::thread peer([listener] {
        const int c = accept(listener, nullptr, nullptr);
        std::string flood;
        for (int i = 0; i < 30000; ++i)
            flood += "line " + std::to_string(i) + "\r\n";
        flood += std::string(50000, 'x') + "\r\nlast\r\n";
        send(c, flood.data(), flood.size(), MSG_NOSIGNAL);
        close(c);
    });
    TcpTerminal terminal("127.0.0.1", port);
    auto* screen = terminal.findChild<QPlainTextEdit*>();
    QtEventPump pump;
    EXPECT_TRUE(
        pump.waitUntil([&] { return screen->toPlainText().contains("connection closed"); }, 20000, false));
    peer.join();
    close(listener);
    EXPECT_LE(screen->blockCount(), TcpTerminal::ScrollBackLines);
    const QStringList lines = screen->toPlainText().split('\n');
    EXPECT_TRUE(std::all_of(lines.begin(), lines.end(),
                            [](const QString& l) { return l.size() <= TcpTerminal::LongestLine; }));
    EXPECT_TRUE(lines.contains("last"));
}

// A typed line goes out as typed; one with a character the console cannot take is not sent at all.
TEST(TcpTerminal, ALineIsSentAsTypedOrNotAtAll) {
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    TcpTerminal terminal("127.0.0.1", server.serverPort());
    QtEventPump pump;
    ASSERT_TRUE(pump.waitUntil([&] { return server.hasPendingConnections(); }, 5000, false));
    QTcpSocket* device = server.nextPendingConnection();
    auto* screen = terminal.findChild<QPlainTextEdit*>();
    ASSERT_TRUE(
        pump.waitUntil([&] { return screen->toPlainText().contains("-- connected --"); }, 5000, false));
    auto* input = terminal.findChild<QLineEdit*>();
    QByteArray received;
    for (const QString& typed : {QString::fromUtf8("5 \u20AC"), QString::fromUtf8("Caf\u00E9")}) {
        input->setText(typed);
        emit input->returnPressed();
    }
    ASSERT_TRUE(
        pump.waitUntil([&] { return received += device->readAll(), received.endsWith('\r'); }, 5000, false));
    EXPECT_EQ(received, QByteArray("Caf\xE9\r"));
    EXPECT_TRUE(screen->toPlainText().contains("-- not sent: the console takes Latin-1 characters only --"));
}

} // namespace
