#include "tools/ui/multi_sock_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWindow>

#include "fbeditor/ui/state_view.h"
#include "platform/input_hold.h"
#include "platform/window_fit.h"
#include "tools/ui/tool_table.h"

MultiSockWindow::MultiSockWindow(AppContext& ctx, InputHold* hold, QWidget* parent)
    : QWidget(parent), scan_(ctx, link_), txt_ip_(new QLineEdit("127.0.0.1")),
      txt_port_(new QLineEdit("502")), txt_node_(new QLineEdit("1")),
      lst_(makeToolTable({"Address", "Port", "Node", "Model", "Run state", "Result"})),
      cmd_scan_(new QPushButton("Scan")), cmd_stop_(new QPushButton("Stop")), hold_(hold) {
    setObjectName("MultiSock");
    setWindowTitle("MultiSock");
    txt_port_->setMaximumWidth(70);
    txt_node_->setMaximumWidth(50);
    auto* add = new QPushButton("Add");
    auto* remove = new QPushButton("Remove");
    auto* entry = new QHBoxLayout;
    entry->addWidget(new QLabel("IP"));
    entry->addWidget(txt_ip_, 1);
    entry->addWidget(new QLabel("Port"));
    entry->addWidget(txt_port_);
    entry->addWidget(new QLabel("Node"));
    entry->addWidget(txt_node_);
    entry->addWidget(add);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(entry);
    layout->addWidget(lst_, 1);
    layout->addLayout(keyRow({remove, cmd_scan_, cmd_stop_}));
    connect(add, &QPushButton::clicked, this, [this] {
        scan_.add(bytes(txt_ip_->text()), bytes(txt_port_->text()), bytes(txt_node_->text()));
    });
    connect(remove, &QPushButton::clicked, this, [this] { scan_.remove(lst_->currentRow()); });
    connect(cmd_scan_, &QPushButton::clicked, this, [this] { scan_.scan(); });
    connect(cmd_stop_, &QPushButton::clicked, this, [this] { scan_.stop(); });
    scan_.onChanged = [this] { draw(); };
    if (hold_)
        hold_->letThroughFor(this,
                             [this](QObject* receiver, QEvent* event) { return endsScan(receiver, event); });
    draw();
    resize(560, 260);
}

MultiSockWindow::~MultiSockWindow() {
    if (hold_) hold_->letThroughFor(this, {});
    scan_.stop();
    scan_.onChanged = nullptr;
}

void MultiSockWindow::closeEvent(QCloseEvent* event) {
    scan_.stop(); // the scan ends at once, its link closed
    event->accept();
}

// While the scan runs, a request's wait lets through what ends the scan: the pointer on Stop and on the
// sub-window's frame (its close box acts on a click where the pointer hovers), the system menu and its keys.
bool MultiSockWindow::endsScan(QObject* receiver, QEvent* event) const {
    if (!scan_.running()) return false;
    const QMdiSubWindow* sub = subWindowOf(this);
    const QMenu* menu = sub ? sub->systemMenu() : nullptr;
    if (event->type() == QEvent::Shortcut)
        return menu && menu->actions().contains(qobject_cast<QAction*>(receiver));
    if (menu && QApplication::activePopupWidget() == menu) return true; // it takes every input
    const auto* mouse = dynamic_cast<const QMouseEvent*>(event);
    if (!mouse || receiver != window()->windowHandle()) return false;
    const QWidget* at = window()->childAt(mouse->position().toPoint());
    return at && (at == cmd_stop_ || at == sub);
}

void MultiSockWindow::draw() {
    std::vector<std::vector<std::string>> rows;
    for (const auto& d : scan_.Devices)
        rows.push_back(
            {d.IpAddress, std::to_string(d.Port), std::to_string(d.Node), d.Model, d.RunState, d.Result});
    fillTable(*lst_, rows);
    cmd_scan_->setEnabled(!scan_.running());
    cmd_stop_->setEnabled(scan_.running());
}
