#pragma once
// The discovery tools the main window opens: the MAC address register and, in the internal edition, the
// FTP listing (the standard edition does not link its library). Their data outlive their windows, which
// are single instances created on first use inside the MDI area.
#include <QPointer>

#include "discovery/lett_mac.h"
#ifdef MELQO_BUILD_INTERNAL
#include "discovery/ftp_listing.h"
#include "platform/curl_ftp_client.h"
#endif

class InputHold;
class QMdiArea;
class QMdiSubWindow;

class DiscoveryWindows {
  public:
    DiscoveryWindows(AppContext& ctx, QMdiArea* mdi) : mdi_(mdi), lettMac_(ctx) {}
    ~DiscoveryWindows(); // closes the windows first: they show data that goes with this object

    QMdiSubWindow* showMacRegister(InputHold* hold = nullptr); // mnu_mac; hold: see frm_LettMAC
#ifdef MELQO_BUILD_INTERNAL
    QMdiSubWindow* showFtp(); // mnu_FTP
#endif
    // A console on a device's TCP port; each call opens one more.
    QMdiSubWindow* showTerminal(const QString& host, uint16_t port);
    // The MAC list's own save question when it holds unsaved changes; false: the user stays.
    bool mayClose() { return lettMac_.Form_Unload(); }

  private:
    QMdiArea* mdi_;
    LettMac lettMac_;
    QPointer<QMdiSubWindow> macSub_;
#ifdef MELQO_BUILD_INTERNAL
    CurlFtpClient ftpClient_;
    FtpBrowser ftp_{ftpClient_};
    FtpAccount ftpAccount_;
    QPointer<QMdiSubWindow> ftpSub_;
#endif
};
