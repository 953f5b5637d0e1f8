#include "program/ui/program_window.h"

#include <algorithm>

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QTabBar>
#include <QToolButton>
#include <QWheelEvent>

#include "platform/latin1_line.h"

using namespace row_layout;

namespace {

QString latin1(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

QColor colour(uint32_t bgr, const QPalette& palette) {
    if (bgr == SystemButtonFace) return palette.color(QPalette::Button);
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

const QColor LabelGrey(224, 224, 224);
const QColor CaptionSilver(192, 192, 192);
const QColor ValueGreen(192, 255, 192);
const QColor DescriptionGreen(0, 192, 0);
const QColor NumberBlue(0, 0, 255);

} // namespace

ProgramWindow::ProgramWindow(ProgramView& view, QWidget* parent) : QWidget(parent), view_(view) {
    setObjectName("Program");
    Tab_Prog = new QTabBar(this);
    Tab_Prog->setObjectName("Tab_Prog");
    note = new QLabel("Main Program", this);
    note->setObjectName("note");
    note->setStyleSheet("color: rgb(128, 0, 0);");
    cmd_Formato = new QToolButton(this);
    cmd_Formato->setObjectName("cmd_Formato");
    cmd_Formato->setAutoRaise(false);
    prog = new ProgramRows(*this);
    VScroll = new QScrollBar(Qt::Vertical, this);
    VScroll->setObjectName("VScroll");
    txt_desc = new QLineEdit(prog);
    keepLatin1Line(txt_desc);
    txt_desc->setObjectName("txt_desc");
    txt_desc->setFrame(false);
    txt_desc->setStyleSheet("color: rgb(0, 192, 0); background: white;");
    txt_desc->hide();

    Tab_Prog->setGeometry(px(60), px(60), px(TabWidth), px(400));
    note->setGeometry(px(120), px(480), px(7455), px(405));
    cmd_Formato->setGeometry(px(7680), px(480), px(435), px(435));
    prog->setGeometry(px(120), px(900), px(7635), px(ContainerHeight));
    VScroll->setGeometry(px(7800), px(1020), px(315), px(ContainerHeight));
    // At least as wide as the tab strip; a larger or maximised window gives the rows its whole area.
    setMinimumWidth(px(TabWidth + 100));
    resize(px(TabWidth + 100), px(TabHeight) + px(600));

    connect(Tab_Prog, &QTabBar::currentChanged, this, [this](int i) {
        if (!syncing_ && i >= 0) view_.tabClick(i + 1);
    });
    connect(VScroll, &QScrollBar::valueChanged, this, [this](int v) {
        if (!syncing_) view_.setScroll(v);
    });
    connect(cmd_Formato, &QToolButton::clicked, this, [this] { view_.formatClick(); });
    connect(txt_desc, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (editing_ <= 0) return;
        view_.descriptionChanged(static_cast<int16_t>(editing_), text.toLatin1().toStdString());
        view_.context().project.ProjectModified = -1; // typed by the user: the project changed
    });
    connect(txt_desc, &QLineEdit::editingFinished, this, [this] {
        editing_ = -1;
        txt_desc->hide();
        prog->update();
    });
    sync();
}

QSize ProgramWindow::sizeHint() const {
    return {px(TabWidth + 100), px(TabHeight) + px(600)};
}

int ProgramWindow::px(int twips) const {
    return twips * logicalDpiY() / 1440;
}

void ProgramWindow::sync() {
    syncing_ = true;
    setWindowTitle(latin1(view_.Caption));
    while (Tab_Prog->count() > static_cast<int>(view_.Tabs.size()))
        Tab_Prog->removeTab(Tab_Prog->count() - 1);
    for (size_t i = 0; i < view_.Tabs.size(); ++i) {
        if (static_cast<int>(i) >= Tab_Prog->count()) Tab_Prog->addTab({});
        Tab_Prog->setTabText(static_cast<int>(i), latin1(view_.Tabs[i]));
    }
    Tab_Prog->setCurrentIndex(view_.SelectedTab - 1);
    // The bar's value is the number of rungs scrolled off the top, up to the rung count, so that every
    // position of the view has its place on the bar; its thumb is as long as the rungs a page holds.
    const int page = std::max(1, prog->height() * 1440 / std::max(1, logicalDpiY()) / view_.RowPitch);
    VScroll->setPageStep(page);
    VScroll->setRange(0, view_.ScrollMax);
    VScroll->setValue(view_.ScrollValue);
    VScroll->setVisible(view_.ScrollVisible);
    cmd_Formato->setIcon(QIcon(view_.FormatPicture == FormatToFullPicture ? ":/pictures/zoom_on.svg"
                                                                          : ":/pictures/zoom_off.svg"));
    syncing_ = false;
    prog->update();
}

void ProgramWindow::editDescription(int rung) {
    const ViewRow* r = view_.row(rung);
    if (!r) return;
    editing_ = rung;
    const Box& b = DescriptionBox;
    txt_desc->setGeometry(px(PanelLeft + b.x), px(r->Top + b.y), px(b.w), px(b.h) + 2);
    txt_desc->setText(latin1(r->Content.Description));
    txt_desc->show();
    txt_desc->setFocus();
}

QRect ProgramWindow::rowRect(int rung) const {
    const ViewRow* r = view_.row(rung);
    if (!r || r->FrameTop < 0 || r->FrameTop >= view_.VisibleHeight) return {};
    const QRect inRows(px(FrameLeft), px(r->FrameTop), px(FrameWidth), px(r->FrameHeight));
    return inRows.translated(prog->pos()).intersected(rect());
}

void ProgramWindow::closeEvent(QCloseEvent* event) {
    // The unload itself comes back through the model's onLoadedChanged.
    if (!view_.Caricato || view_.closeRequest())
        event->accept();
    else
        event->ignore();
}

void ProgramWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int tabHeight = height() - px(600);
    if (tabHeight - px(1100) <= 0) return; // minimised: nothing to lay out
    // What the window has beyond its smallest width goes to the tab strip, the note and the rows; the
    // format key and the scroll bar keep to the right edge.
    const int extra = std::max(0, width() - px(TabWidth + 100));
    Tab_Prog->resize(px(TabWidth) + extra, Tab_Prog->height());
    note->resize(px(7455) + extra, note->height());
    cmd_Formato->move(px(7680) + extra, cmd_Formato->y());
    prog->resize(px(7635) + extra, tabHeight - px(1100));
    VScroll->setGeometry(px(7800) + extra, VScroll->y(), VScroll->width(), prog->height());
    view_.VisibleHeight = prog->height() * 1440 / std::max(1, logicalDpiY());
    // Rows are laid out down to the main window's height: a taller view must get them all.
    view_.MainHeight = std::max(view_.MainHeight, view_.VisibleHeight + view_.RowPitch);
    if (view_.Caricato) view_.setScroll(view_.ScrollValue); // the rungs a page holds follow the height
    sync();
}

ProgramRows::ProgramRows(ProgramWindow& window) : QWidget(&window), window_(window) {
    setObjectName("prog");
    setAutoFillBackground(true);
}

RowHit ProgramRows::hit(const QPointF& p) const {
    const double perPixel = 1440.0 / logicalDpiY();
    return window_.view().hitTest(static_cast<int>(p.x() * perPixel), static_cast<int>(p.y() * perPixel));
}

void ProgramRows::mousePressEvent(QMouseEvent* event) {
    const RowHit h = hit(event->position());
    const auto rung = static_cast<int16_t>(h.Rung);
    if (h.Where == RowHit::Description) {
        window_.view().descriptionClick(rung);
        window_.editDescription(h.Rung);
    } else if (h.selects()) {
        const int button = event->button() == Qt::RightButton    ? 2
                           : event->button() == Qt::MiddleButton ? 4
                                                                 : 1;
        window_.view().rowPress(rung, button);
    }
}

void ProgramRows::wheelEvent(QWheelEvent* event) {
    // The wheel moves the scroll bar, one rung per notch.
    wheelAngle_ += event->angleDelta().y();
    const int notches = wheelAngle_ / QWheelEvent::DefaultDeltasPerStep;
    wheelAngle_ -= notches * QWheelEvent::DefaultDeltasPerStep;
    if (notches) window_.scrollBar()->setValue(window_.scrollBar()->value() - notches);
    event->accept();
}

void ProgramRows::mouseDoubleClickEvent(QMouseEvent* event) {
    const RowHit h = hit(event->position());
    if (h.selects()) window_.view().rowDoubleClick(static_cast<int16_t>(h.Rung));
}

QRect ProgramRows::box(int top, const Box& b) const {
    return QRect(window_.px(PanelLeft + b.x), window_.px(top + b.y), window_.px(b.w), window_.px(b.h));
}

void ProgramRows::paintEvent(QPaintEvent*) {
    QPainter g(this);
    QFont small = font();
    small.setPointSizeF(7.5);
    g.setFont(small);
    const SectionRows& sec = window_.view().rows();
    for (size_t k = 0; k < sec.Rows.size(); ++k) {
        const ViewRow& r = sec.Rows[k];
        if (!r.Shown || r.Top + r.Height < 0) continue;
        g.fillRect(QRect(window_.px(FrameLeft), window_.px(r.FrameTop), window_.px(FrameWidth),
                         window_.px(r.FrameHeight)),
                   colour(r.FrameColour, palette()));
        const QRect panel(window_.px(PanelLeft), window_.px(r.Top), window_.px(PanelWidth),
                          window_.px(r.Height));
        g.fillRect(panel, Qt::white);
        g.save();
        g.setClipRect(panel);
        paintTopLine(g, r, static_cast<int>(k));
        if (r.Height > CompactPanelHeight) paintBlock(g, r);
        g.restore();
    }
}

namespace {

// A label control: background, optional single border, text.
void label(QPainter& g, const QRect& r, const QColor& back, const QString& text, int align, bool border) {
    g.fillRect(r, back);
    if (border) g.drawRect(r.adjusted(0, 0, -1, -1));
    g.drawText(r.adjusted(2, 0, -2, 0), align | Qt::AlignVCenter, text);
}

QFont bold(const QFont& f) {
    QFont b = f;
    b.setBold(true);
    return b;
}

} // namespace

void ProgramRows::paintTopLine(QPainter& g, const ViewRow& r, int rung) {
    const RungRow& c = r.Content;
    const QFont small = g.font();
    g.setFont(bold(small));
    g.setPen(NumberBlue);
    const QColor numberBack =
        r.NumberColour ? colour(*r.NumberColour, palette()) : palette().color(QPalette::Window);
    label(g, box(r.Top, NumberBox), numberBack, QString::number(rung), Qt::AlignHCenter, true);
    g.setPen(Qt::black);
    g.setFont(small);
    label(g, box(r.Top, LabelBox), LabelGrey, latin1(c.Label), Qt::AlignLeft, true);
    if (r.LineTextVisible) {
        g.setFont(bold(small));
        label(g, box(r.Top, FunctionBox), colour(c.Colour, palette()), latin1(c.FunctionName), Qt::AlignLeft,
              true);
        g.setFont(small);
        label(g, box(r.Top, SummaryBox), Qt::white, latin1(c.Summary), Qt::AlignLeft, true);
    }
    if (r.BreakVisible) {
        const QRect b = box(r.Top, BreakBox);
        g.setBrush(Qt::red);
        g.drawEllipse(b);
        g.setBrush(Qt::NoBrush);
        g.setFont(bold(small));
        g.drawText(b, Qt::AlignCenter, "B");
        g.setFont(small);
    }
}

void ProgramRows::paintBlock(QPainter& g, const ViewRow& r) {
    const RungRow& c = r.Content;
    for (int i = 0; i < 8; ++i) {
        if (c.CaptionVisible[i])
            label(g, box(r.Top, captionBox(i)), CaptionSilver, latin1(c.ArgCaptions[i]),
                  i < 4 ? Qt::AlignRight : Qt::AlignLeft, false);
        if (c.ValueVisible[i])
            label(g, box(r.Top, valueBox(i)), ValueGreen, latin1(c.ArgValues[i]), Qt::AlignHCenter, false);
    }
    if (c.PictureVisible) {
        // The function block's picture: its name on the category colour.
        const QFont small = g.font();
        g.setFont(bold(small));
        label(g, box(r.Top, PictureBox), colour(c.Colour ? c.Colour : LightGrey, palette()),
              latin1(c.FunctionName), Qt::AlignHCenter | Qt::TextWordWrap, true);
        g.setFont(small);
    }
    g.setPen(DescriptionGreen);
    g.drawText(box(r.Top, DescriptionBox), Qt::AlignLeft | Qt::AlignVCenter, latin1(c.Description));
    g.setPen(Qt::black);
}
