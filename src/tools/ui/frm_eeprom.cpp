#include "tools/ui/frm_eeprom.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "fbeditor/ui/state_view.h"
#include "tools/ui/tool_table.h"

frm_eeprom::frm_eeprom(AppContext& ctx, QWidget* parent)
    : QWidget(parent), ProgressBar1(new QProgressBar), tool_(ctx), txt_from_(new QLineEdit("0000")),
      txt_to_(new QLineEdit("00FF")), cmd_upload_(new QPushButton("Read to file...")),
      cmd_download_(new QPushButton("Write from file...")), bar_(*ProgressBar1) {
    setObjectName("frm_eeprom");
    setWindowTitle("EEprom");
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    for (QLineEdit* e : {txt_from_, txt_to_})
        e->setMaxLength(4);
    auto* form = new QFormLayout;
    form->addRow("First address (hex)", txt_from_);
    form->addRow("Last address (hex)", txt_to_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    auto* note = new QLabel("Memory-image files (.hex) hold one decimal byte value per line, from the first "
                            "address on.");
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addLayout(keyRow({cmd_upload_, cmd_download_}));
    layout->addWidget(ProgressBar1);
    layout->addStretch();
    connect(cmd_upload_, &QPushButton::clicked, this, [this] { transfer(true); });
    connect(cmd_download_, &QPushButton::clicked, this, [this] { transfer(false); });
    resize(400, 190);
}

void frm_eeprom::transfer(bool upload) {
    cmd_upload_->setEnabled(false);
    cmd_download_->setEnabled(false);
    ProgressBar1->setValue(0);
    const TransferView view{&bar_, &pointer_};
    const std::string from = bytes(txt_from_->text()), to = bytes(txt_to_->text());
    upload ? tool_.upload(view, from, to) : tool_.download(view, from, to);
    cmd_upload_->setEnabled(true);
    cmd_download_->setEnabled(true);
}

void frm_eeprom::closeEvent(QCloseEvent* event) {
    if (tool_.running())
        event->ignore();
    else
        event->accept();
}
