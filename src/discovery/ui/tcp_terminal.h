#pragma once
// A raw TCP console (a gateway's set-up port): what the device sends is shown as it comes, a typed line
// goes out with a carriage return. No terminal program is needed; the scroll-back is bounded.
#include <QWidget>

#include "platform/qt_link_port.h"

class QLineEdit;
class QPlainTextEdit;

class TcpTerminal : public QWidget {
    Q_OBJECT
  public:
    // The scroll-back: at most this many lines of at most this many characters.
    static constexpr int ScrollBackLines = 10000;
    static constexpr int LongestLine = 1000;

    TcpTerminal(const QString& host, uint16_t port, QWidget* parent = nullptr);

  private:
    void append(const QString& text);

    QtLinkPort link_;
    QPlainTextEdit* screen_;
    QLineEdit* input_;
    int column_ = 0; // characters since the last line break
};
