#include "app/ui/serial_port_combo.h"

#include <QSerialPortInfo>

#include "app/settings_form.h"

SerialPortCombo::SerialPortCombo(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    for (int i = 1; i <= ComPortCount; ++i)
        addItem(QString("COM%1").arg(i));
    refreshMachinePorts();
}

void SerialPortCombo::showPopup() {
    refreshMachinePorts();
    QComboBox::showPopup();
}

void SerialPortCombo::refreshMachinePorts() {
    const QString typed = currentText();
    while (count() > ComPortCount)
        removeItem(count() - 1);
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
        addItem(port.systemLocation());
        if (!port.description().isEmpty()) setItemData(count() - 1, port.description(), Qt::ToolTipRole);
    }
    setCurrentText(typed);
}
