#pragma once
// frm_LettMAC: the MAC address register window, a thin view over LettMac (which outlives it). Its texts
// are Windows-1252, as the list file is. A close asked while "Carica MAC" runs is carried out once the
// read has ended, after its error box too.
#include <QWidget>
#include <optional>

#include "discovery/lett_mac.h"

class InputHold;
class QLineEdit;
class QListWidget;
class QRadioButton;

class frm_LettMAC : public QWidget {
    Q_OBJECT
  public:
    // hold: the program's input hold, through which a close box clicked during the read takes its turn.
    frm_LettMAC(LettMac& logic, InputHold* hold = nullptr, QWidget* parent = nullptr);
    ~frm_LettMAC() override;

    QListWidget* list() const { return lstMAC; }
    // The boxes as Windows-1252 bytes; nullopt (after saying which box) when one holds a character the
    // list file cannot.
    std::optional<LettMac::Boxes> boxes() const;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void AggiungiVoce();
    void readMac();
    bool takesClose(QObject* receiver, QEvent* event);
    void closeAfterRead();
    std::optional<std::string> bytes(const QLineEdit* box, const char* name) const;
    MacReportFilter reportFilter(const LettMac::Boxes& boxes) const;

    LettMac& logic_;
    InputHold* hold_;
    bool reading_ = false;    // "Carica MAC" runs
    bool closeAsked_ = false; // a close came meanwhile and waits for the read's end
    QListWidget* lstMAC;
    QLineEdit* txt_pfc;
    QLineEdit* txt_anno;
    QLineEdit* txt_cliente;
    QRadioButton* opt_report[3];
};
