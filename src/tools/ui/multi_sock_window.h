#pragma once
// MultiSock: the multi-connection tool window, a thin view over MultiSock with a TCP link of its own.
#include <QPointer>
#include <QWidget>

#include "platform/qt_link_port.h"
#include "tools/multi_sock.h"

class InputHold;
class QLineEdit;
class QPushButton;
class QTableWidget;

class MultiSockWindow : public QWidget {
    Q_OBJECT
  public:
    // hold: the program's input hold, whose request waits let the Stop and the close box through.
    MultiSockWindow(AppContext& ctx, InputHold* hold = nullptr, QWidget* parent = nullptr);
    ~MultiSockWindow() override;

    MultiSock& scan() { return scan_; }
    QTableWidget* table() const { return lst_; }

  protected:
    void closeEvent(class QCloseEvent* event) override;

  private:
    void draw();
    bool endsScan(QObject* receiver, QEvent* event) const;

    QtLinkPort link_;
    MultiSock scan_;
    QLineEdit* txt_ip_;
    QLineEdit* txt_port_;
    QLineEdit* txt_node_;
    QTableWidget* lst_;
    QPushButton* cmd_scan_;
    QPushButton* cmd_stop_;
    QPointer<InputHold> hold_;
};
