#include "tools/ui/frm_dialoga.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/app_context.h"
#include "fbeditor/ui/state_view.h"
#include "tools/ui/tool_table.h"

frm_dialoga::frm_dialoga(AppContext& ctx, QWidget* parent)
    : QWidget(parent), ctx_(ctx), request_(ctx), txt_node_(new QLineEdit), txt_func_(new QLineEdit("3")),
      txt_data_(new QLineEdit("00 00 00 01")), rx_(new QPlainTextEdit), lbl_result_(new QLabel) {
    setObjectName("frm_dialoga");
    setWindowTitle("Modbus");
    txt_node_->setText(QString::number(ctx.comm.CurrentDevice.NodeAddress));
    txt_data_->setToolTip("The request's fields after the function code, as hex bytes (00 0A ...)");
    rx_->setObjectName("txt_buff_rx");
    rx_->setReadOnly(true);
    lbl_result_->setObjectName("lbl_result");
    lbl_result_->setWordWrap(true);
    auto* form = new QFormLayout;
    form->addRow("Node (0-255)", txt_node_);
    form->addRow("Function (1-255)", txt_func_);
    form->addRow("Fields (hex)", txt_data_);
    auto* send = new QPushButton("Send");
    send->setObjectName("cmd_send");
    auto* repeat = new QPushButton("Repeat");
    auto* stop = new QPushButton("Stop");
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(keyRow({send, repeat, stop}));
    layout->addWidget(new QLabel("Answer (buff_rx)"));
    layout->addWidget(rx_, 1);
    layout->addWidget(lbl_result_);
    connect(send, &QPushButton::clicked, this, &frm_dialoga::cmd_send_Click);
    connect(repeat, &QPushButton::clicked, this, [this] {
        request_.repeat(bytes(txt_node_->text()), bytes(txt_func_->text()), bytes(txt_data_->text()));
        draw();
    });
    connect(stop, &QPushButton::clicked, this, [this] { request_.stop(); });
    request_.onSent = [this] { draw(); };
    resize(380, 300);
}

frm_dialoga::~frm_dialoga() {
    request_.stop();
    request_.onSent = nullptr;
}

void frm_dialoga::cmd_send_Click() {
    request_.send(bytes(txt_node_->text()), bytes(txt_func_->text()), bytes(txt_data_->text()));
}

void frm_dialoga::closeEvent(QCloseEvent* event) {
    request_.stop();
    event->accept();
}

void frm_dialoga::draw() {
    rx_->setPlainText(latin1(ctx_.comm.MonitorRx));
    lbl_result_->setText(latin1(request_.Result));
}
