// The serial link's device lock against pseudo-terminals that come and go: a port closed after its peer
// is gone gives its lock back before the terminal's number can go to anyone else, so two links that keep
// opening fresh terminals side by side never meet each other's lock; a port in use stays locked, and a second
// open says so.
#include <gtest/gtest.h>

#include <QThread>

#include <atomic>
#include <memory>

#include <unistd.h>

#include "platform/qt_link_port.h"
#include "support/pty_bridge.h"
#include "support/qt_test_app.h"

namespace {

constexpr int Rounds = 200;

// Opens a fresh terminal, lets its peer go first, then closes the port; counts opens that failed.
void openAndDropRepeatedly(std::atomic<int>& failures) {
    QtLinkPort link;
    for (int i = 0; i < Rounds; ++i) {
        std::string path;
        int keep = -1;
        const int master = OpenRawPty(path, keep);
        if (!link.openSerial(path, "9600,n,8,1", false)) ++failures;
        ::close(master);
        ::close(keep);
        link.close();
    }
}

TEST(SerialLock, APortClosedAfterItsPeerNeverLeavesItsLockOnAReusedTerminal) {
    QtTestApp();
    std::atomic<int> failures{0};
    std::unique_ptr<QThread> threads[2];
    for (auto& t : threads) {
        t.reset(QThread::create([&] { openAndDropRepeatedly(failures); }));
        t->start();
    }
    for (auto& t : threads)
        t->wait();
    EXPECT_EQ(failures, 0);
}

TEST(SerialLock, ADeviceInUseIsLockedAgainstASecondOpen) {
    QtTestApp();
    std::string path;
    int keep = -1;
    const int master = OpenRawPty(path, keep);
    QtLinkPort first, second;
    ASSERT_TRUE(first.openSerial(path, "9600,n,8,1", false)) << first.error();
    EXPECT_FALSE(second.openSerial(path, "9600,n,8,1", false));
    EXPECT_NE(second.error().find("(another program is using the device)"), std::string::npos)
        << second.error();
    first.close();
    EXPECT_TRUE(second.openSerial(path, "9600,n,8,1", false)) << second.error();
    second.close();
    ::close(master);
    ::close(keep);
}

} // namespace
