#include "app/ui/about_box.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "core/app_context.h"
#include "core/language_switch.h"
#include "app/ui/picture_list.h"
#include "app/ui/ui_texts.h"
#include "platform/window_fit.h"

namespace {
// System-information programs of the common desktops, in order of preference.
constexpr const char* SysInfoPrograms[] = {"hardinfo2", "hardinfo", "kinfocenter", "gnome-system-monitor"};
constexpr int IconPixels = 48;
} // namespace

AboutBox::AboutBox(AppContext& ctx, const QString& programName, LanguageSwitch& languages, QWidget* parent)
    : QDialog(parent, DialogFlags), ctx_(ctx), programName_(programName), languages_(languages) {
    setObjectName("frmAbout");
    setAttribute(Qt::WA_DeleteOnClose);

    picIcon = new QLabel;
    picIcon->setPixmap(applicationIcon().pixmap(IconPixels, IconPixels));
    picIcon->setAlignment(Qt::AlignTop);
    lblTitle = new QLabel;
    lblTitle->setObjectName("lblTitle");
    QFont big = lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    lblTitle->setFont(big);
    lblVersion = new QLabel;
    lblVersion->setObjectName("lblVersion");
    cmdOK = new QPushButton("OK");
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton("&System Info...");
    cmdSysInfo->setObjectName("cmdSysInfo");
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::close);
    connect(cmdSysInfo, &QPushButton::clicked, this, &AboutBox::StartSysInfo);

    auto* text = new QVBoxLayout;
    text->addWidget(lblTitle);
    text->addWidget(lblVersion);
    text->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(picIcon);
    top->addSpacing(12);
    top->addLayout(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(16);
    layout->addLayout(buttons);
    setMinimumWidth(360);

    startProgram_ = [](const QString& path) { return QProcess::startDetached(path, {}); };
    findSysInfo_ = &AboutBox::findSysInfo;
    SetRes();
    languages_.windowLoaded(this, [this] { SetRes(); });
}

AboutBox::~AboutBox() {
    languages_.windowUnloaded(this);
}

void AboutBox::SetRes() {
    setWindowTitle("About " + programName_);
    lblTitle->setText(programName_);
    lblVersion->setText("Version: " + fromLatin1(ctx_.shell.VersionText) +
                        fromLatin1(ctx_.shell.VersionSuffix));
}

QString AboutBox::findSysInfo() {
    for (const char* name : SysInfoPrograms) {
        QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty()) return path;
    }
    return {};
}

void AboutBox::StartSysInfo() {
    QString path = findSysInfo_();
    if (!path.isEmpty() && startProgram_(path)) return;
    ctx_.dialogs.messageBox(ctx_.shell.Language == 0 ? "Le informazioni sul sistema non sono attualmente disponibili."
                                                      : "System information is not available at the moment.",
                            MsgButtons::Ok, MsgIcon::None, programName_.toStdString());
}
