#include "program/ui/frm_download.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "platform/window_fit.h"

#include "core/app_context.h"
#include "core/busy_run.h"

namespace {

QGroupBox* frame(const char* name, const QString& caption, std::initializer_list<QWidget*> children) {
    auto* box = new QGroupBox(caption);
    box->setObjectName(name);
    auto* layout = new QVBoxLayout(box);
    for (QWidget* w : children)
        layout->addWidget(w);
    return box;
}

QPushButton* button(const char* name, const QString& caption) {
    auto* b = new QPushButton(caption);
    b->setObjectName(name);
    return b;
}

} // namespace

frm_Download::frm_Download(AppContext& app, bool modoDownload, QWidget* parent)
    : QWidget(parent, DialogFlags), app_(app), Barra(new QProgressBar), bar_(*Barra),
      modoDownload_(modoDownload) {
    setObjectName("frm_Download");
    setWindowTitle("Download");
    // Closing only hides it; each opening sets the boxes as a new window would have them (Form_Load).
    chk_download = check("chk_download", "Application");
    chk_var = check("chk_var", "Variables");
    chk_str = check("chk_str", "Strings");
    chk_sms = check("chk_sms", "SMS");
    chk_Verify = check("chk_Verify", "Verify");
    chk_run = check("chk_run", "Run after Download");
    chk_Clear = check("chk_Clear", "Clear Register Memory");
    Barra->setObjectName("Barra");
    Barra->setRange(1, 101);
    cmdDownload = button("cmdDownload", "Download");
    cmd_Export = button("cmd_Export", "Export");

    auto* frames = new QHBoxLayout;
    frames->addWidget(frame("Frame2", "Download", {chk_download, chk_var, chk_str, chk_sms}));
    frames->addWidget(frame("Frame1", "Options", {chk_Verify, chk_run, chk_Clear}));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdDownload);
    buttons->addWidget(cmd_Export);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(frames);
    layout->addWidget(Barra);
    layout->addLayout(buttons);

    connect(cmdDownload, &QPushButton::clicked, this, [this] { cmdDownload_Click(); });
    Form_Load();
}

QCheckBox* frm_Download::check(const char* name, const QString& caption) {
    auto* c = new QCheckBox(caption);
    c->setObjectName(name);
    return c;
}

void frm_Download::Form_Load() {
    chk_download->setChecked(true);
    chk_var->setChecked(true);
    // The model may have changed since the last opening: strings only where the model has them.
    bool strings = app_.model().MaxStrings >= 1;
    chk_str->setChecked(strings);
    chk_str->setEnabled(strings);
    chk_sms->setChecked(false);
    chk_sms->setEnabled(false);
    chk_Verify->setChecked(false);
    chk_run->setChecked(false);
    chk_Clear->setChecked(false);
    Barra->setValue(1);
    cmdDownload->setVisible(modoDownload_);
    cmd_Export->setVisible(!modoDownload_);
}

void frm_Download::showEvent(QShowEvent* event) {
    // A window brought back from the task bar keeps what the user ticked; a new opening does not.
    if (!event->spontaneous()) Form_Load();
    QWidget::showEvent(event);
}

DownloadOptions frm_Download::options() const {
    DownloadOptions o;
    o.application = chk_download->isChecked();
    o.variables = chk_var->isChecked();
    o.strings = chk_str->isChecked();
    o.sms = chk_sms->isChecked();
    o.verify = chk_Verify->isChecked();
    o.run = chk_run->isChecked();
    o.clear = chk_Clear->isChecked();
    return o;
}

void frm_Download::cmdDownload_Click() {
    if (running_) return;
    running_ = true;
    cmdDownload->setEnabled(false);
    DownloadSequence(app_, TransferView{&bar_, &pointer_}, options(), refreshRegisters);
    running_ = false;
    cmdDownload->setEnabled(true);
    close();
}

void frm_Download::closeEvent(QCloseEvent* event) {
    // Closing mid-sequence would leave the controller halted halfway through a download.
    if (running_) {
        RefusedDuringRun(app_, "Closing the Download window");
        event->ignore();
    } else {
        event->accept();
    }
}
