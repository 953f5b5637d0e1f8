#include "fbeditor/ui/input_box.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "fbeditor/ui/state_view.h"

Input_Box::Input_Box(std::shared_ptr<DialogHandOver> handOver, QWidget* parent)
    : QWidget(parent, Qt::Dialog), handOver_(std::move(handOver)), txt_(new QLineEdit) {
    setObjectName("Input_Box");
    setWindowTitle("Value");
    txt_->setObjectName("txt_valore");
    txt_->setMinimumWidth(220);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("cmd_ok");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cmd_cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &Input_Box::cmd_ok_Click);
    connect(buttons, &QDialogButtonBox::rejected, this, &Input_Box::cmd_cancel_Click);
    connect(txt_, &QLineEdit::returnPressed, this, &Input_Box::cmd_ok_Click);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txt_);
    layout->addWidget(buttons);
}

Input_Box::~Input_Box() {
    release();
}

void Input_Box::Form_Load() {
    txt_->setText(latin1(handOver_->DialogText));
    txt_->selectAll();
    show();
    raise();
    activateWindow();
    txt_->setFocus();
}

void Input_Box::cmd_ok_Click() {
    handOver_->DialogText = bytes(txt_->text());
    close();
}

void Input_Box::closeEvent(QCloseEvent* event) {
    release();
    event->accept();
}

void Input_Box::release() {
    handOver_->DialogBusy = false;
}
