#include "fbeditor/ui/input_box.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "fbeditor/ui/state_view.h"
#include "tools/value_entry.h"

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

Input_Box::Input_Box(ValueEntry& entry, QWidget* parent)
    : Input_Box(std::make_shared<DialogHandOver>(), parent) {
    Modo = 0;
    entry_ = &entry;
    entry.SetRes(); // the type list
    cmb_type_ = new QComboBox;
    cmb_type_->setObjectName("cmb_type");
    for (const auto& name : entry.TypeNames)
        cmb_type_->addItem(latin1(name));
    const auto& codes = entry.TypeCodes;
    const auto at = std::find(codes.begin(), codes.end(), entry.ValueType);
    cmb_type_->setCurrentIndex(at == codes.end() ? 0 : int(at - codes.begin()));
    lbl_msg_ = new QLabel;
    lbl_msg_->setObjectName("lbl_msg");
    rows_ = new QFormLayout;
    rows_->addRow(new QLabel, new QLabel(latin1(entry.registerText())));
    rows_->addRow(new QLabel, txt_);
    rows_->addRow(new QLabel, cmb_type_);
    static_cast<QVBoxLayout*>(layout())->insertLayout(0, rows_);
    static_cast<QVBoxLayout*>(layout())->insertWidget(1, lbl_msg_);
    SetRes();
}

void Input_Box::SetRes() {
    if (!entry_) return;
    entry_->SetRes();
    for (int row = 0; row < rows_->rowCount(); ++row)
        static_cast<QLabel*>(rows_->itemAt(row, QFormLayout::LabelRole)->widget())
            ->setText(latin1(entry_->RowCaptions[size_t(row)]));
    setWindowTitle(latin1(entry_->RowCaptions[3]));
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
    if (Modo == 0 && entry_) {
        entry_->ValueType = entry_->TypeCodes[size_t(std::max(0, cmb_type_->currentIndex()))];
        const bool written = entry_->write(bytes(txt_->text()));
        lbl_msg_->setText(latin1(entry_->Message));
        if (!written) return; // stays open to correct the value
    } else {
        handOver_->DialogText = bytes(txt_->text());
    }
    close();
}

void Input_Box::closeEvent(QCloseEvent* event) {
    release();
    event->accept();
}

void Input_Box::release() {
    handOver_->DialogBusy = false;
}
