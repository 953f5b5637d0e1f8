#pragma once
// frm_coll_NWAC: the Ethernet product test window, a thin view over EthernetProductBench. Bench
// connection and relays, status lamps and pulse output, the RS-485 loop test, the product's variant,
// version byte, firmware uploads, web page and ARP clean-up. A 500 ms timer polls the bench.
#include <array>
#include <QTimer>
#include <QWidget>

#include "factorytest/ethernet_product/ethernet_product.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class Lamp;

class frm_coll_NWAC : public QWidget {
    Q_OBJECT
  public:
    explicit frm_coll_NWAC(EthernetProductBench& bench, QWidget* parent = nullptr);
    ~frm_coll_NWAC() override;

    QPushButton* Command1 = nullptr;
    std::array<QPushButton*, 2> cmd_connetti{};
    QTimer Timer;
    QPushButton* Command2 = nullptr;
    QListWidget* lst_device = nullptr;
    QGroupBox* Frame5 = nullptr;
    std::array<QPushButton*, 3> cmd_upload{};
    QPushButton* cmd_view = nullptr;
    QLineEdit* txt_vers = nullptr;
    QPushButton* cmd_Set = nullptr;
    QGroupBox* Frame1 = nullptr;
    QCheckBox* chk_error = nullptr;
    QPushButton* cmd_stop_test = nullptr;
    QPushButton* cmd_test = nullptr;
    std::array<QRadioButton*, 2> opt_misura{};
    std::array<Lamp*, 2> led{};
    Lamp* led10 = nullptr;
    QPushButton* cmd_puls = nullptr;
    std::array<QPushButton*, 3> cmd_rele{};

  private:
    QWidget* buildFirmware();
    QWidget* buildHardware();
    void refresh();

    EthernetProductBench& bench_;
};
