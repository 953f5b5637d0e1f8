#pragma once
// frm_search: the device search window, a view over DeviceSearch. It owns the search socket and lives
// for the whole run, so its search state outlasts a close.
#include <functional>
#include <QHash>
#include <QIcon>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include "discovery/device_search.h"
#include "discovery/sniffer.h"
#include "platform/qt_datagram_socket.h"
#include "platform/qt_local_addresses.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

class frm_search : public QWidget {
    Q_OBJECT
  public:
    // pictures: ImageList1 by key; popupMenu: shows the main window's mnu_Cont at the pointer.
    frm_search(AppContext& app, DiscoveryServices services, std::function<QIcon(const QString&)> pictures,
               std::function<void()> popupMenu, SearchPorts ports = {}, QWidget* parent = nullptr);

    DeviceSearch& search() { return search_; }
    void SetRes();
    // The window or the program closes: the search, scan or set-up ends and the sniffer stops, their
    // ports freed.
    void Form_Unload();

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Closed and opened again: the controls start as designed.
    void reopen();
    // The sniffer's new lines, added once per turn of the event loop.
    void addSnifferLines();
    void build();
    QWidget* buildManualPanel();
    QWidget* buildSnifferPanel();
    void bindTree();
    void refresh();
    void cmb_porta_Click();
    void forget(QTreeWidgetItem* item);

    QtDatagramSocket udp_;
    QtLocalAddresses addresses_;
    DeviceSearch search_;
    std::function<QIcon(const QString&)> pictures_;
    std::function<void()> popupMenu_;
    QHash<QString, QTreeWidgetItem*> items_;
    QtDatagramSocket snifferSocket_;
    Sniffer sniffer_;
    QStringList snifferPending_; // lines not in List1 yet
    QPointer<QWidget> frame_;    // the sub-window the window lies in, whose close and show it follows
    bool closed_ = false;

    QTreeWidget* Elenco = nullptr;
    QComboBox* cmb_porta = nullptr;
    QLineEdit* txt_Timeout = nullptr;
    QGroupBox* frm_opz[2] = {};
    QCheckBox* chk_disp_ethernet[3] = {};
    QRadioButton* chk_baud[BaudChoices] = {};
    QLineEdit* txt_indir[2] = {};
    QPushButton* cmd_Search = nullptr;
    QPushButton* cmd_stop = nullptr;
    QLabel* lbl_search = nullptr;
    QLabel* portNote_ = nullptr; // what the search could not hear
    QListWidget* List2 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Loc_mask = nullptr;
    QLineEdit* loc_ip_add = nullptr;
    QTabWidget* tab_search = nullptr;
    QRadioButton* Option1[2] = {};
    QWidget* snifferPanel_ = nullptr;
    QListWidget* List1 = nullptr;
};
