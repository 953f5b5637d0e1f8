#pragma once
// Input_Box: the value input dialog. With Modo 1 it edits the hand-over's DialogText and writes nothing
// to the device; however it closes, it clears DialogBusy so that a waiting caller goes on.
#include <cstdint>
#include <memory>
#include <QWidget>

#include "fbeditor/ui/dialog_hand_over.h"

class QLineEdit;

class Input_Box : public QWidget {
    Q_OBJECT
  public:
    Input_Box(std::shared_ptr<DialogHandOver> handOver, QWidget* parent = nullptr);
    ~Input_Box() override;

    uint8_t Modo = 1;
    // Takes the starting text and shows the dialog, not modal.
    void Form_Load();
    QLineEdit* text() const { return txt_; }
    // OK: the entered text goes back; cancel leaves DialogText as it was.
    void cmd_ok_Click();
    void cmd_cancel_Click() { close(); }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void release();
    std::shared_ptr<DialogHandOver> handOver_;
    QLineEdit* txt_;
};
