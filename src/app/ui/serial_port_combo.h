#pragma once
// The serial port choice: COM1..COM32, then the machine's serial ports, read again each time the list
// opens; a device path may also be typed.
#include <QComboBox>

class SerialPortCombo : public QComboBox {
    Q_OBJECT
  public:
    explicit SerialPortCombo(QWidget* parent = nullptr);
    void showPopup() override;

  private:
    void refreshMachinePorts();
};
