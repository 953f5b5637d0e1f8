#include "discovery/ui/frm_lettmac.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QVBoxLayout>
#include <QWindow>

#include <utility>

#include "discovery/windows_1252.h"
#include "platform/input_hold.h"
#include "platform/window_fit.h"

namespace {

// The list file's texts are Windows-1252 bytes.
QString text(const std::string& s) {
    const std::u32string chars = FromWindows1252(s);
    return QString::fromUcs4(chars.data(), static_cast<qsizetype>(chars.size()));
}

QLineEdit* centredBox(const char* name, int maxLength, const QString& text = {}) {
    auto* box = new QLineEdit(text);
    box->setObjectName(name);
    box->setAlignment(Qt::AlignCenter);
    box->setMaxLength(maxLength);
    return box;
}

QPushButton* button(const char* name, const char* caption) {
    auto* b = new QPushButton(caption);
    b->setObjectName(name);
    return b;
}

std::optional<std::string> windows1252(const QString& s) {
    const QList<uint> chars = s.toUcs4();
    return ToWindows1252(std::u32string(chars.begin(), chars.end())).bytes;
}

// The current date and time as the reports show them: the locale's short date, or the ISO date when
// the report's code page cannot hold the locale's characters.
std::string now() {
    const QDateTime t = QDateTime::currentDateTime();
    const QString time = " " + t.time().toString("HH:mm:ss");
    const auto local = windows1252(QLocale().toString(t.date(), QLocale::ShortFormat) + time);
    return local ? *local : (t.date().toString(Qt::ISODate) + time).toStdString();
}

// True when `at` (in the sub-window's own coordinates) is on the close box of its title bar.
bool onCloseBox(const QMdiSubWindow* sub, QPoint at) {
    QStyleOptionTitleBar title;
    title.initFrom(sub);
    title.subControls = QStyle::SC_All;
    title.titleBarFlags = sub->windowFlags();
    title.titleBarState = sub->windowState();
    title.rect = {0, 0, sub->width(), sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, &title, sub)};
    return sub->style()->hitTestComplexControl(QStyle::CC_TitleBar, &title, at, sub) ==
           QStyle::SC_TitleBarCloseButton;
}

} // namespace

frm_LettMAC::frm_LettMAC(LettMac& logic, InputHold* hold, QWidget* parent)
    : QWidget(parent), logic_(logic), hold_(hold) {
    setWindowTitle("MAC Register");
    lstMAC = new QListWidget;
    lstMAC->setObjectName("lstMAC");
    lstMAC->setMinimumWidth(460);
    auto* read = button("Command1", "Carica MAC da 25AA02E48");
    auto* load = button("cmd_loadFile", "Load File");
    auto* save = button("cmd_SaveFile", "Save File");

    auto* frame = new QGroupBox("MAC -> PFC");
    txt_pfc = centredBox("txt_pfc", 3);
    txt_anno = centredBox("txt_anno", 2, "09");
    txt_cliente = new QLineEdit;
    txt_cliente->setObjectName("txt_cliente");
    auto* assign = button("Command2", "Modifica MAC -->");
    auto* grid = new QGridLayout(frame);
    grid->addWidget(new QLabel("PFC"), 0, 0);
    grid->addWidget(new QLabel("Anno"), 0, 2);
    grid->addWidget(txt_pfc, 1, 0);
    grid->addWidget(new QLabel("/"), 1, 1);
    grid->addWidget(txt_anno, 1, 2);
    grid->addWidget(new QLabel("Cliente"), 2, 0, 1, 3);
    grid->addWidget(txt_cliente, 3, 0, 1, 3);
    grid->addWidget(assign, 4, 0, 1, 3);

    auto* report = new QGroupBox;
    auto* reportLayout = new QVBoxLayout(report);
    const char* options[] = {"PFC", "Cliente", "Anno"};
    for (int i = 0; i < 3; ++i)
        reportLayout->addWidget(opt_report[i] = new QRadioButton(options[i]));
    opt_report[0]->setChecked(true);
    auto* makeReport = button("cmd_report", "Crea Report");
    reportLayout->addWidget(makeReport);

    auto* side = new QVBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{read, load, save, frame, report})
        side->addWidget(w);
    side->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(lstMAC, 1);
    layout->addLayout(side);

    connect(read, &QPushButton::clicked, this, &frm_LettMAC::readMac);
    connect(assign, &QPushButton::clicked, this, [this] {
        if (auto b = boxes()) logic_.Command2_Click(lstMAC->currentRow(), *b);
    });
    connect(load, &QPushButton::clicked, this, [this] { logic_.cmd_loadFile_Click(); });
    connect(save, &QPushButton::clicked, this, [this] { logic_.cmd_SaveFile_Click(); });
    connect(makeReport, &QPushButton::clicked, this, [this] {
        if (auto b = boxes()) logic_.cmd_report_Click(reportFilter(*b), now());
    });
    logic_.AggiungiVoce = [this] { AggiungiVoce(); };
    if (hold_)
        hold_->letThroughFor(
            this, [this](QObject* receiver, QEvent* event) { return takesClose(receiver, event); });
    AggiungiVoce();
}

frm_LettMAC::~frm_LettMAC() {
    if (hold_) hold_->letThroughFor(this, {});
    logic_.AggiungiVoce = nullptr;
}

void frm_LettMAC::readMac() {
    auto b = boxes();
    if (!b) return;
    reading_ = true;
    logic_.Command1_Click(*b);
    reading_ = false;
}

// While the read waits for its answer, a press on the close box is taken at once as the close. Held with
// the rest of the input, the click would come back only after the read and its error box, and a release
// that came while that box was open would be lost with the box's input: the close box would never act.
// The click reaches the frame's close box now too, whose close waits the same way (closeEvent).
bool frm_LettMAC::takesClose(QObject* receiver, QEvent* event) {
    const QMdiSubWindow* sub = subWindowOf(this);
    const auto* mouse = dynamic_cast<const QMouseEvent*>(event);
    if (!reading_ || !sub || !mouse || receiver != window()->windowHandle()) return false;
    if (!onCloseBox(sub, sub->mapFrom(window(), mouse->position().toPoint()))) return false;
    if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) closeAfterRead();
    return true;
}

// The close goes in its turn among the input held during the read, which comes back once the read has
// ended; then it asks as every close does.
void frm_LettMAC::closeAfterRead() {
    if (std::exchange(closeAsked_, true)) return;
    hold_->afterHeldInput([self = QPointer<frm_LettMAC>(this)] {
        if (!self) return;
        self->closeAsked_ = false;
        QMdiSubWindow* sub = subWindowOf(self);
        sub ? sub->close() : self->close();
    });
}

std::optional<std::string> frm_LettMAC::bytes(const QLineEdit* box, const char* name) const {
    const QList<uint> chars = box->text().toUcs4();
    Windows1252Text t = ToWindows1252(std::u32string(chars.begin(), chars.end()));
    if (!t.bytes) logic_.refuseCharacter(name, t.unstorable);
    return t.bytes;
}

std::optional<LettMac::Boxes> frm_LettMAC::boxes() const {
    auto pfc = bytes(txt_pfc, "PFC");
    auto anno = pfc ? bytes(txt_anno, "Anno") : std::nullopt;
    auto cliente = anno ? bytes(txt_cliente, "Cliente") : std::nullopt;
    if (!cliente) return std::nullopt;
    return LettMac::Boxes{*pfc, *anno, *cliente};
}

MacReportFilter frm_LettMAC::reportFilter(const LettMac::Boxes& b) const {
    int by = opt_report[1]->isChecked() ? 1 : opt_report[2]->isChecked() ? 2 : 0;
    return {static_cast<MacReportBy>(by), b.pfc, b.anno, b.cliente};
}

void frm_LettMAC::AggiungiVoce() {
    lstMAC->clear();
    for (const std::string& line : logic_.lines())
        lstMAC->addItem(text(line));
}

void frm_LettMAC::closeEvent(QCloseEvent* event) {
    if (reading_ && hold_) {
        closeAfterRead();
        event->ignore();
    } else if (logic_.Form_Unload())
        event->accept();
    else
        event->ignore();
}
