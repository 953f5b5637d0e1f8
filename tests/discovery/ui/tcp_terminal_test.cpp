#include <gtest/gtest.h>

#include <QPlainTextEdit>
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

} // namespace
