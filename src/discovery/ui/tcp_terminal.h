#pragma once
// A raw TCP console (a gateway's set-up port): what the device sends is shown as it comes, a typed line
// goes out with a carriage return. No terminal program is needed.
#include <QWidget>

#include "platform/qt_link_port.h"

class QLineEdit;
class QPlainTextEdit;

class TcpTerminal : public QWidget {
    Q_OBJECT
  public:
    TcpTerminal(const QString& host, uint16_t port, QWidget* parent = nullptr);

  private:
    void append(const QString& text);

    QtLinkPort link_;
    QPlainTextEdit* screen_;
    QLineEdit* input_;
};
