#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>
#include <QUdpSocket>
#include <thread>

#include "../../app/ui/window_fixture.h"
#include "../search_fixture.h"
#include "core/build_flags.h"
#include "discovery/ui/frm_ftp.h"
#include "discovery/ui/frm_lettmac.h"
#include "discovery/ui/frm_search.h"
#include "platform/window_fit.h"

namespace {

TEST(FrmSearch, OpensFromTheMenuWithItsDefaultsAndFollowsTheTree) {
    WindowFixture f;
    f.recordAndLoadTexts(true);
    f.start();
    f.window->menuItem("mnu_search")->trigger();
    frm_search* w = f.window->searchWindow();
    EXPECT_TRUE(w->isVisibleTo(f.window.get()));
    EXPECT_EQ(w->windowTitle(), "Search Devices");
    EXPECT_EQ(child<QComboBox>(w, "cmb_porta")->currentText(), "TCP/IP");
    EXPECT_EQ(child<QLineEdit>(w, "txt_Timeout")->text(), "1000");
    EXPECT_TRUE(child<QRadioButton>(w, "chk_baud_5")->isChecked());
    EXPECT_EQ(child<QLineEdit>(w, "Text1")->text(), "192.168.1.1");
    EXPECT_EQ(child<QCheckBox>(w, "chk_disp_ethernet_0")->text(), "JXV8410");
    EXPECT_TRUE(child<QCheckBox>(w, "chk_disp_ethernet_0")->isChecked());
    EXPECT_EQ(child<QLineEdit>(w, "IP_SNIFF")->isVisibleTo(w), BuildInternal != 0);
    for (const char* item : {"mnu_SetAsController", "mnu_ViewHomePage", "mnu_SetIP", "mnu_CopyIP",
                             "mnu_CopyMAC", "mnu_SubNodes", "mnu_search"})
        EXPECT_TRUE(f.window->menuItem(item)->isEnabled()) << item;

    DeviceSearch& s = w->search();
    s.Elenco.add("", "rete", "Ethernet", "connect");
    f.comm.SearchQueryA = -1;
    s.UDP_DataArrival(ReplyA("JXV8410", 10, 0), "127.0.0.2");
    auto* tree = child<QTreeWidget>(w, "Elenco");
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* device = tree->topLevelItem(0)->child(0);
    EXPECT_EQ(device->text(0), "JXV8410 [127.0.0.2]");
    EXPECT_EQ(device->childCount(), BuildInternal ? 7 : 6); // the internal edition adds the switches
    EXPECT_EQ(tree->currentItem(), device);
    s.Elenco.remove("nodo1");
    EXPECT_EQ(tree->topLevelItem(0)->childCount(), 0);
    // Closed and opened again, the window starts as designed.
    f.window->show();
    s.form.txt_Timeout = "5000";
    child<QLineEdit>(w, "txt_mac_0")->setText("0A");
    subWindowOf(w)->close();
    f.window->menuItem("mnu_search")->trigger();
    EXPECT_EQ(tree->topLevelItemCount(), 0);
    EXPECT_EQ(child<QLineEdit>(w, "txt_Timeout")->text(), "1000");
    EXPECT_EQ(child<QLineEdit>(w, "Text1")->text(), "192.168.1.1");
    EXPECT_EQ(child<QLineEdit>(w, "txt_mac_0")->text(), "");
    // Italian captions follow the language switch.
    f.window->languages().CambiaLingua(0);
    EXPECT_EQ(w->windowTitle(), "Ricerca Dispositivi");
    EXPECT_EQ(child<QLabel>(w, "Label4")->text(), "Da:");
    // Closing the program during a scan ends it at its next address.
    s.Form_Load({"ttyNone"});
    s.form.cmb_porta = 33;
    s.form.txt_indir = {"1", "254"};
    f.pump.onEvents = [&] {
        if (s.form.lbl_search.ends_with("Addr: 3") && f.window->isVisible()) f.window->close();
    };
    s.cmd_Search_Click();
    EXPECT_EQ(f.shell.log.lines().back(),
              "Search ended by closing its window, devices found: 0 (stopped at Addr: 4)  ");
}

// Closing the window during a network wait of a minute, or a sub-node scan of silent addresses, ends it
// within a second and frees its port and link; the sniffer stops at the address it started at, its port
// free too. Opened again, the window starts as designed, the sniffer's box as typed.
TEST(FrmSearch, ClosingEndsTheSearchOrScanAtOnceAndFreesItsPort) {
    SimSession s;
    SimController gateway(10);
    FakeDevice silent("127.0.0.2");
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    const uint16_t port = probe.localPort();
    probe.close();
    const SearchPorts ports{port, silent.port(), gateway.startTcp("127.0.0.2"), 9, "127.0.0.2", 1,
                            254,  silent.port()};
    for (const bool scan : {false, true}) {
        QMdiArea mdi;
        auto* w = new frm_search(s.app, {}, {}, {}, ports);
        QMdiSubWindow* sub = mdi.addSubWindow(w);
        sub->setAttribute(Qt::WA_DeleteOnClose, false);
        mdi.show();
        DeviceSearch& d = w->search();
        d.BindAddressSet = true;
        d.form.Text1 = "127.0.0.1";
        d.form.Loc_mask = "127.0.0.2";
        const auto sent = [&, from = silent.received.size()](const char* command) {
            const auto at = std::find(silent.received.begin() + long(from), silent.received.end(), command);
            return at == silent.received.end() ? 0 : silent.ports[size_t(at - silent.received.begin())];
        };
        auto* sniff = child<QLineEdit>(w, "IP_SNIFF");
        const auto type = [sniff](const char* text) {
            sniff->setText(text);
            emit sniff->textEdited(text);
        };
        type("127.0.0.2");
        child<QPushButton>(w, "Command5")->click();
        type("127.0.0.9"); // typed over after the start
        int64_t closedAt = 0;
        // Inside the minute's wait; in the scan's first second, before its own flag is set.
        QTimer::singleShot(scan ? 600 : 300, [&] { closedAt = s.pump.nowMs(), sub->close(); });
        if (scan) {
            d.Elenco.add("", "rete", "Ethernet");
            s.comm->SearchQueryA = -1;
            d.UDP_DataArrival(ReplyA("GW", 10, 0), "127.0.0.2");
            d.Elenco_NodeClick("nodo1");
            d.SearchSubNodes();
        } else {
            d.form.txt_Timeout = "60000";
            d.cmd_Search_Click();
        }
        ASSERT_GT(closedAt, 0);
        EXPECT_LT(s.pump.nowMs() - closedAt, 1000) << scan;
        EXPECT_TRUE(probe.bind(QHostAddress::LocalHost, port)) << scan;
        probe.close();
        EXPECT_FALSE(s.link.isConnected());
        ASSERT_TRUE(s.pump.waitUntil([&] { return sent("0004") != 0; }, 2000, false)) << scan;
        const int fd = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in at{AF_INET, htons(sent("0003")), {htonl(INADDR_ANY)}, {}};
        EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at), 0) << scan;
        close(fd);
        sub->show();
        EXPECT_EQ(sniff->text(), "127.0.0.9");
        EXPECT_EQ(child<QLabel>(w, "lbl_search")->text(), "");
        EXPECT_TRUE(child<QPushButton>(w, "cmd_Search")->isEnabled());
    }
}

// A right-click on device 2 after a left-click on device 1: the menu acts on device 2.
TEST(FrmSearch, ARightClickSelectsTheLineUnderThePointerBeforeTheMenu) {
    SimSession s;
    std::vector<std::string> copied;
    DiscoveryServices services;
    services.setClipboard = [&](const std::string& t) { copied.push_back(t); };
    frm_search* window = nullptr;
    int16_t indexAtMenu = -1;
    frm_search w(s.app, services, {}, [&] {
        indexAtMenu = window->search().DeviceIndex;
        window->search().CopyIP(); // the menu's "Copy IP"
    });
    window = &w;
    w.resize(900, 600);
    w.show();
    DeviceSearch& search = w.search();
    search.Elenco.add("", "rete", "Ethernet", "connect");
    s.comm->SearchQueryA = -1;
    search.UDP_DataArrival(ReplyA("ONE", 1, 0), "127.0.0.11");
    search.UDP_DataArrival(ReplyA("TWO", 2, 0), "127.0.0.12");
    s.comm->SearchQueryA = 0;
    auto* tree = child<QTreeWidget>(&w, "Elenco");
    QTreeWidgetItem* one = tree->topLevelItem(0)->child(0);
    QTreeWidgetItem* two = tree->topLevelItem(0)->child(1);
    tree->setCurrentItem(one);
    emit tree->itemClicked(one, 0);
    ASSERT_EQ(search.DeviceIndex, 1);

    const QPoint at = tree->visualItemRect(two).center();
    QContextMenuEvent press(QContextMenuEvent::Mouse, at, tree->viewport()->mapToGlobal(at));
    QApplication::sendEvent(tree->viewport(), &press);
    EXPECT_EQ(indexAtMenu, 2);
    EXPECT_EQ(tree->currentItem(), two);
    EXPECT_EQ(copied, std::vector<std::string>{"127.0.0.12"});
}

// A device that sends 100 copies a second for two seconds: every one is listed, none lost while the
// window keeps up.
TEST(FrmSearch, TheSnifferListsEveryDatagramAtAHundredASecond) {
    SimSession s;
    FakeDevice device("127.0.0.2");
    SearchPorts ports;
    ports.SnifferPort = device.port();
    frm_search w(s.app, {}, {}, {}, ports);
    w.resize(900, 700);
    w.show();
    auto* address = child<QLineEdit>(&w, "IP_SNIFF");
    address->setText("127.0.0.2");
    emit address->textEdited(address->text());
    child<QPushButton>(&w, "Command5")->click();
    ASSERT_TRUE(s.pump.waitUntil([&] { return !device.ports.empty(); }, 2000, false));
    constexpr int Count = 200;
    // Each longer than the list is wide, and all of them fit the socket's buffer, so a busy test machine
    // that holds the window up a while loses none.
    auto copyOf = [](int i) { return std::to_string(i) + std::string(100, 'C'); };
    std::thread copies([&, port = device.ports[0]] {
        const int fd = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in to{AF_INET, htons(port), {htonl(INADDR_LOOPBACK)}, {}};
        for (int i = 0; i < Count; ++i) {
            const std::string copy = copyOf(i);
            sendto(fd, copy.data(), copy.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        close(fd);
    });
    auto* list = child<QListWidget>(&w, "List1");
    s.pump.waitUntil([&] { return list->count() == Count; }, 10000, false);
    copies.join();
    ASSERT_EQ(list->count(), Count);
    for (int i = 0; i < Count; ++i)
        EXPECT_TRUE(list->item(i)->text().endsWith(QString::fromStdString(snifferDumpLine("", copyOf(i)))))
            << i;
    EXPECT_EQ(list->currentRow(), Count - 1);
}

TEST(FrmSearch, TheInternalEditionShowsTheSnifferAndOpensTheMacAndFtpTools) {
    WindowFixture f;
    f.shell.Flags.Internal = -1;
    f.start();
    f.window->menuItem("mnu_search")->trigger();
    EXPECT_TRUE(
        child<QLineEdit>(f.window->searchWindow(), "IP_SNIFF")->isVisibleTo(f.window->searchWindow()));
    ASSERT_TRUE(f.window->menuItem("mnu_mac")->isEnabled());
    f.window->menuItem("mnu_mac")->trigger();
    ASSERT_TRUE(f.window->findChild<frm_LettMAC*>());
    // Windows without captions of their own get ones that say what they are.
    EXPECT_EQ(f.window->findChild<frm_LettMAC*>()->windowTitle(), "MAC Register");
    // The FTP listing is built into the internal edition only.
    QAction* ftp = f.window->menuItem("mnu_FTP");
    ASSERT_EQ(ftp->isVisible(), BuildInternal != 0);
    if (!BuildInternal) return;
    ftp->trigger();
    ASSERT_TRUE(f.window->findChild<frm_FTP*>());
    EXPECT_EQ(f.window->findChild<frm_FTP*>()->windowTitle(), "FTP Listing");
    EXPECT_EQ(child<QPushButton>(f.window->findChild<frm_FTP*>(), "Command1")->text(), "List Folder");
}

} // namespace
