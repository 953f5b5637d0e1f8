#include "app/ui/settings_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include "core/app_context.h"
#include "core/language_switch.h"
#include "app/settings_form.h"
#include "app/shell_procedures.h"
#include "app/ui/picture_list.h"
#include "app/ui/serial_port_combo.h"
#include "app/ui/ui_texts.h"
#include "platform/window_fit.h"

namespace {
constexpr int MaxAnimateSeconds = 10;
constexpr const char* LanguageNames[2] = {"Italiano", "English"};
} // namespace

SettingsDialog::SettingsDialog(AppContext& ctx, const ShellProcedures& procs, LanguageSwitch& languages,
                               const PictureList& pictures, QWidget* parent)
    : QDialog(parent, DialogFlags), ctx_(ctx), procs_(procs), languages_(languages), pictures_(pictures) {
    setObjectName("frm_Settings");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);

    pages_ = new QStackedWidget;
    pages_->addWidget(buildConnectionPage());
    pages_->addWidget(buildWorkspacePage());

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    cmd_ok[0] = buttons->button(QDialogButtonBox::Cancel);
    cmd_ok[1] = buttons->button(QDialogButtonBox::Ok);
    cmd_ok[0]->setObjectName("cmd_ok0");
    cmd_ok[1]->setObjectName("cmd_ok1");
    connect(buttons, &QDialogButtonBox::accepted, this, &SettingsDialog::confirm);
    connect(buttons, &QDialogButtonBox::rejected, this, &SettingsDialog::cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Form_Load();
    languages_.windowLoaded(this, [this] { SetRes(); });
}

SettingsDialog::~SettingsDialog() {
    languages_.windowUnloaded(this);
}

QWidget* SettingsDialog::buildConnectionPage() {
    frm_opt0 = new QGroupBox;
    Label5 = new QLabel;
    Combo1 = new QComboBox;
    Combo1->setObjectName("Combo1");
    Combo1->setMinimumContentsLength(16);
    Label2 = new QLabel;
    txt_address = new QLineEdit;
    txt_address->setObjectName("txt_address");
    txt_address->setMaxLength(3);
    auto* top = new QFormLayout;
    top->addRow(Label5, Combo1);
    top->addRow(Label2, txt_address);

    Frame2 = new QGroupBox;
    channelGroup_ = new QButtonGroup(this);
    auto* channelRow = new QHBoxLayout(Frame2);
    for (int i = 0; i < 2; ++i) {
        optChannel[i] = new QRadioButton;
        optChannel[i]->setObjectName(QString("optChannel%1").arg(i));
        channelGroup_->addButton(optChannel[i], i);
        channelRow->addWidget(optChannel[i]);
    }
    channelRow->addStretch();
    connect(channelGroup_, &QButtonGroup::idClicked, this, &SettingsDialog::optChannel_Click);

    frmTCP = new QGroupBox("TCP");
    frmTCP->setObjectName("frmTCP");
    Label1 = new QLabel;
    txt_IP = new QLineEdit;
    txt_IP->setObjectName("txt_IP");
    Label7 = new QLabel;
    txt_port = new QLineEdit;
    txt_port->setObjectName("txt_port");
    lbl_timeoutTCP = new QLabel("Timeout (mSec)");
    txt_timeoutTCP = new QLineEdit;
    txt_timeoutTCP->setObjectName("txt_timeoutTCP");
    chk_header = new QCheckBox("Header");
    chk_header->setChecked(true);
    chk_header->setEnabled(false); // the Modbus TCP header is always sent
    auto* tcp = new QFormLayout(frmTCP);
    tcp->addRow(Label1, txt_IP);
    tcp->addRow(Label7, txt_port);
    tcp->addRow(lbl_timeoutTCP, txt_timeoutTCP);
    tcp->addRow(QString(), chk_header);

    frmCOM = new QGroupBox("RS485 / RS232");
    frmCOM->setObjectName("frmCOM");
    Label6 = new QLabel;
    cmbCOM = new SerialPortCombo;
    cmbCOM->setObjectName("cmbCOM");
    lbl_baud = new QLabel("Baud Rate");
    cmbBaud = new QComboBox;
    cmbBaud->setObjectName("cmbBaud");
    for (auto b : BaudRates)
        cmbBaud->addItem(QString::fromLatin1(b.data(), static_cast<qsizetype>(b.size())));
    lbl_stop = new QLabel("Stop bit");
    auto* stopRow = new QHBoxLayout;
    auto* stopGroup = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        optStop[i] = new QRadioButton(QString::number(i + 1));
        optStop[i]->setObjectName(QString("optStop%1").arg(i));
        stopGroup->addButton(optStop[i], i);
        stopRow->addWidget(optStop[i]);
    }
    stopRow->addStretch();
    chk_autoricezione = new QCheckBox("Echo remove");
    chk_autoricezione->setObjectName("chk_autoricezione");
    chk_Modem = new QCheckBox("Modem Dial up");
    chk_Modem->setObjectName("chk_Modem");
    txt_modemNumber = new QLineEdit;
    txt_modemNumber->setObjectName("txt_modemNumber");
    lbl_timeoutCOM = new QLabel("Timeout");
    txt_timeoutCOM = new QLineEdit;
    txt_timeoutCOM->setReadOnly(true); // the serial link uses the link time-out set over TCP
    txt_timeoutCOM->setEnabled(false);
    auto* com = new QFormLayout(frmCOM);
    com->addRow(Label6, cmbCOM);
    com->addRow(lbl_baud, cmbBaud);
    com->addRow(lbl_stop, stopRow);
    com->addRow(QString(), chk_autoricezione);
    com->addRow(QString(), chk_Modem);
    com->addRow("Modem number", txt_modemNumber);
    com->addRow(lbl_timeoutCOM, txt_timeoutCOM);

    auto* layout = new QVBoxLayout(frm_opt0);
    layout->addLayout(top);
    layout->addWidget(Frame2);
    layout->addWidget(frmTCP);
    layout->addWidget(frmCOM);
    return frm_opt0;
}

QWidget* SettingsDialog::buildWorkspacePage() {
    frm_opt1 = new QGroupBox;
    Frame3 = new QGroupBox;
    chk_Update = new QCheckBox;
    chk_Update->setObjectName("chk_Update");
    (new QVBoxLayout(Frame3))->addWidget(chk_Update);

    Frame1 = new QGroupBox;
    Slider1 = new QSlider(Qt::Horizontal);
    Slider1->setObjectName("Slider1");
    Slider1->setRange(0, MaxAnimateSeconds);
    Slider1->setTickPosition(QSlider::TicksBelow);
    Slider1->setPageStep(1);
    lbl_tempo = new QLabel;
    lbl_tempo->setMinimumWidth(fontMetrics().horizontalAdvance("00"));
    lbl_tempo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label3 = new QLabel("sec.");
    connect(Slider1, &QSlider::valueChanged, lbl_tempo, qOverload<int>(&QLabel::setNum));
    auto* animate = new QHBoxLayout(Frame1);
    animate->addWidget(Slider1, 1);
    animate->addWidget(lbl_tempo);
    animate->addWidget(Label3);

    Frame4 = new QGroupBox;
    Frame4->setObjectName("Frame4");
    languageGroup_ = new QButtonGroup(this);
    auto* langRow = new QHBoxLayout(Frame4);
    for (int i = 0; i < 2; ++i) {
        opt_lang[i] = new QRadioButton;
        opt_lang[i]->setObjectName(QString("opt_lang%1").arg(i));
        languageGroup_->addButton(opt_lang[i], i);
        langRow->addWidget(opt_lang[i]);
    }
    langRow->addStretch();
    connect(languageGroup_, &QButtonGroup::idClicked, this, &SettingsDialog::opt_lang_Click);

    auto* layout = new QVBoxLayout(frm_opt1);
    layout->addWidget(Frame3);
    layout->addWidget(Frame1);
    layout->addWidget(Frame4);
    layout->addStretch();
    return frm_opt1;
}

void SettingsDialog::showPage(Page page) {
    pages_->setCurrentIndex(page);
}

void SettingsDialog::SetRes() {
    const ShellState& s = ctx_.shell;
    setWindowTitle(uiText(s, 88, "Settings"));
    frm_opt0->setTitle(uiText(s, 89, "Controller"));
    frm_opt1->setTitle(uiText(s, 97, "Workspace"));
    Label5->setText(uiText(s, 90, "Type"));
    Label2->setText(uiText(s, 91, "Node ID"));
    Frame2->setTitle(uiText(s, 92, "Channel"));
    optChannel[0]->setText(uiText(s, 93, "Ethernet"));
    optChannel[1]->setText(uiText(s, 94, "COM Port"));
    Label1->setText(uiText(s, 95, "IP Address"));
    Label7->setText(uiText(s, 96, "Port"));
    Label6->setText(uiText(s, 94, "COM Port"));
    Frame3->setTitle(uiText(s, 98, "Debug Mode"));
    chk_Update->setText(uiText(s, 99, "Run-Time Registers Update"));
    Frame1->setTitle(uiText(s, 100, "Animate Time"));
    // The language texts are each in their own language.
    Frame4->setTitle(s.Language == 0 ? "Lingua" : "Language");
    for (int i = 0; i < 2; ++i) {
        opt_lang[i]->setText(LanguageNames[i]);
        opt_lang[i]->setIcon(pictures_.picture(i == 0 ? "flag_ita" : "flag_eng"));
    }
    cmd_ok[0]->setText(s.Language == 0 ? "Annulla" : "Cancel");
    cmd_ok[1]->setText("OK");
}

void SettingsDialog::Form_Load() {
    SetRes();
    opt_lang[ctx_.shell.Language == 0 ? 0 : 1]->setChecked(true);

    // Separators are real separators of the list, so they cannot be chosen.
    for (const auto& e : settingsModelList(ctx_.shell)) {
        if (e.Row < 0)
            Combo1->insertSeparator(Combo1->count());
        else
            Combo1->addItem(fromLatin1(e.Text), e.Row);
    }

    SettingsForm f = loadSettingsForm(ctx_);
    optChannel[f.Channel]->setChecked(true);
    optChannel_Click(f.Channel);
    txt_IP->setText(fromLatin1(f.IpAddress));
    txt_port->setText(fromLatin1(f.PortText));
    txt_timeoutTCP->setText(fromLatin1(f.TimeoutTcpText));
    txt_timeoutCOM->setText(fromLatin1(f.TimeoutTcpText));
    cmbCOM->setCurrentText(fromLatin1(serialChoiceText(f)));
    // A rate the list does not offer (from the settings file) is kept, shown as one more entry.
    if (!f.BaudRate.empty() && cmbBaud->findText(fromLatin1(f.BaudRate)) < 0)
        cmbBaud->addItem(fromLatin1(f.BaudRate));
    cmbBaud->setCurrentText(fromLatin1(f.BaudRate));
    optStop[f.TwoStopBits ? 1 : 0]->setChecked(true);
    chk_autoricezione->setChecked(f.EchoRemove);
    chk_Modem->setChecked(f.ModemDialUp);
    txt_modemNumber->setText(fromLatin1(f.ModemNumber));
    txt_address->setText(fromLatin1(f.NodeText));
    Combo1->setCurrentIndex(Combo1->findData(f.ModelRow));
    // A model the list does not offer (the start-up row) still shows as the one in use; OK keeps it.
    if (Combo1->currentIndex() < 0) Combo1->setPlaceholderText(fromLatin1(ctx_.model().ModelName));
    Slider1->setValue(f.AnimateSeconds);
    lbl_tempo->setNum(Slider1->value());
    chk_Update->setChecked(f.RegUpdate);
}

void SettingsDialog::optChannel_Click(int index) {
    frmCOM->setVisible(index == 1);
    frmTCP->setVisible(index == 0);
}

// The language changes at once and stays; the settings file keeps it from the next OK on.
void SettingsDialog::opt_lang_Click(int index) {
    languages_.CambiaLingua(static_cast<int16_t>(index));
}

void SettingsDialog::confirm() {
    auto text = [](const QLineEdit* e) {
        QByteArray b = e->text().toLatin1();
        return std::string(b.constData(), static_cast<size_t>(b.size()));
    };
    SettingsForm f = loadSettingsForm(ctx_); // what the dialog does not show stays as it is
    f.Channel = optChannel[1]->isChecked() ? 1 : 0;
    f.IpAddress = text(txt_IP);
    f.PortText = text(txt_port);
    f.TimeoutTcpText = text(txt_timeoutTCP);
    QByteArray port = cmbCOM->currentText().toLatin1();
    f.ComIndex = ctx_.comm.CurrentDevice.Port >= 1 && ctx_.comm.CurrentDevice.Port <= ComPortCount
                     ? ctx_.comm.CurrentDevice.Port - 1
                     : 0;
    f.SerialDevice = ctx_.comm.CurrentDevice.SerialDevice;
    setSerialChoice(f, std::string(port.constData(), static_cast<size_t>(port.size())));
    QByteArray baud = cmbBaud->currentText().toLatin1();
    f.BaudRate = std::string(baud.constData(), static_cast<size_t>(baud.size()));
    f.TwoStopBits = optStop[1]->isChecked();
    f.EchoRemove = chk_autoricezione->isChecked();
    f.ModemDialUp = chk_Modem->isChecked();
    f.ModemNumber = text(txt_modemNumber);
    f.NodeText = text(txt_address);
    QVariant row = Combo1->currentData();
    f.ModelRow = row.isValid() ? row.toInt() : ctx_.comm.CurrentDevice.ModelIndex;
    f.AnimateSeconds = Slider1->value();
    f.RegUpdate = chk_Update->isChecked();
    // A field OK cannot take keeps the dialog open on it, with everything the user typed.
    if (auto refusal = refuseSettings(f)) {
        ctx_.dialogs.messageBox(refusal->message, MsgButtons::Ok, MsgIcon::Warning);
        QLineEdit* fields[] = {txt_address, txt_IP, txt_port, txt_timeoutTCP};
        fields[refusal->field]->setFocus();
        fields[refusal->field]->selectAll();
        return;
    }
    // Unloaded first, so the model question of the reconnect is not hidden behind it.
    AppContext& ctx = ctx_;
    const ShellProcedures& procs = procs_;
    close();
    applySettings(ctx, procs, f);
}

void SettingsDialog::cancel() {
    reject();
}
