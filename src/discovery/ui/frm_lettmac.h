#pragma once
// frm_LettMAC: the MAC address register window, a thin view over LettMac (which outlives it). Its texts
// are Windows-1252, as the list file is.
#include <QWidget>
#include <optional>

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
    // The boxes as Windows-1252 bytes; nullopt (after saying which box) when one holds a character the
    // list file cannot.
    std::optional<LettMac::Boxes> boxes() const;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void AggiungiVoce();
    std::optional<std::string> bytes(const QLineEdit* box, const char* name) const;
    MacReportFilter reportFilter(const LettMac::Boxes& boxes) const;

    LettMac& logic_;
    QListWidget* lstMAC;
    QLineEdit* txt_pfc;
    QLineEdit* txt_anno;
    QLineEdit* txt_cliente;
    QRadioButton* opt_report[3];
};
