#include "discovery/ui/discovery_windows.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "discovery/ui/frm_lettmac.h"
#ifdef MELQO_BUILD_INTERNAL
#include "discovery/ui/frm_ftp.h"
#endif
#include "discovery/ui/tcp_terminal.h"
#include "platform/window_fit.h"

namespace {

// Brings the window to the front, creating it first when it is not open.
QMdiSubWindow* showSingle(QPointer<QMdiSubWindow>& sub, QMdiArea* mdi, const std::function<QWidget*()>& make) {
    if (!sub) {
        sub = addFittedSubWindow(mdi, make());
        sub->setAttribute(Qt::WA_DeleteOnClose);
    }
    sub->show();
    sub->raise();
    mdi->setActiveSubWindow(sub);
    return sub;
}

} // namespace

DiscoveryWindows::~DiscoveryWindows() {
    delete macSub_;
#ifdef MELQO_BUILD_INTERNAL
    delete ftpSub_;
#endif
}

QMdiSubWindow* DiscoveryWindows::showMacRegister(InputHold* hold) {
    return showSingle(macSub_, mdi_, [this, hold] { return new frm_LettMAC(lettMac_, hold); });
}

#ifdef MELQO_BUILD_INTERNAL
QMdiSubWindow* DiscoveryWindows::showFtp() {
    return showSingle(ftpSub_, mdi_, [this] { return new frm_FTP(ftp_, ftpAccount_); });
}
#endif

QMdiSubWindow* DiscoveryWindows::showTerminal(const QString& host, uint16_t port) {
    QPointer<QMdiSubWindow> sub;
    return showSingle(sub, mdi_, [&] { return new TcpTerminal(host, port); });
}
