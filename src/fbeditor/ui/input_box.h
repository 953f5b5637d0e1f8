#pragma once
// Input_Box: the value input dialog. With Modo 1 it edits the hand-over's DialogText and writes nothing
// to the device; however it closes, it clears DialogBusy so that a waiting caller goes on. With Modo 0
// it writes the typed value to a register in the chosen value type (ValueEntry).
#include <cstdint>
#include <memory>
#include <QWidget>

#include "fbeditor/ui/dialog_hand_over.h"

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class ValueEntry;

class Input_Box : public QWidget {
    Q_OBJECT
  public:
    Input_Box(std::shared_ptr<DialogHandOver> handOver, QWidget* parent = nullptr);
    // The value entry for entry.Register (Modo 0); the dialog stays open until a value was written.
    Input_Box(ValueEntry& entry, QWidget* parent = nullptr);
    ~Input_Box() override;

    uint8_t Modo = 1;
    // Takes the starting text and shows the dialog, not modal.
    void Form_Load();
    QLineEdit* text() const { return txt_; }
    QComboBox* types() const { return cmb_type_; }
    QLabel* message() const { return lbl_msg_; }
    // The value entry's captions in the current language; the typed value and the chosen type stay.
    void SetRes();
    // OK: the entered text goes back; cancel leaves DialogText as it was.
    void cmd_ok_Click();
    void cmd_cancel_Click() { close(); }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void release();
    std::shared_ptr<DialogHandOver> handOver_;
    QLineEdit* txt_;
    ValueEntry* entry_ = nullptr;
    QComboBox* cmb_type_ = nullptr;
    QLabel* lbl_msg_ = nullptr;
    QFormLayout* rows_ = nullptr;
};
