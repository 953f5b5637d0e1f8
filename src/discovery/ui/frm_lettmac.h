#pragma once
// frm_LettMAC: the MAC address register window, a thin view over LettMac (which outlives it).
#include <QWidget>

#include "discovery/lett_mac.h"

class QLineEdit;
class QListWidget;
class QRadioButton;

class frm_LettMAC : public QWidget {
    Q_OBJECT
  public:
    frm_LettMAC(LettMac& logic, QWidget* parent = nullptr);
    ~frm_LettMAC() override;

    QListWidget* list() const { return lstMAC; }
    LettMac::Boxes boxes() const;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void AggiungiVoce();
    MacReportFilter reportFilter() const;

    LettMac& logic_;
    QListWidget* lstMAC;
    QLineEdit* txt_pfc;
    QLineEdit* txt_anno;
    QLineEdit* txt_cliente;
    QRadioButton* opt_report[3];
};
