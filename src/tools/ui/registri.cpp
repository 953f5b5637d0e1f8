#include "tools/ui/registri.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>

namespace {

QString latin1(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// Register bytes shown as text (an ASCII value) may hold control characters: they show as blanks.
QString shown(const std::string& s) {
    QString t = latin1(s);
    for (QChar& c : t)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) c = u' ';
    return t;
}

// Column widths in characters: label, name, value (a binary word), type ("String (Eprom)").
constexpr int ColumnChars[] = {7, 18, 18, 14};
constexpr int WantedRows = 20;

} // namespace

Registri::Registri(RegisterView& view, QWidget* parent)
    : QWidget(parent), view_(view), grid_(new QTableWidget(this)),
      VScroll(new QScrollBar(Qt::Vertical, this)) {
    setObjectName("Registri");
    grid_->setColumnCount(4);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::NoSelection);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff); // our own bar scrolls the table
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->setWordWrap(false);
    for (int c = 0; c < 4; ++c)
        grid_->setColumnWidth(c, fontMetrics().horizontalAdvance(QString(ColumnChars[c], u'0')) + 12);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(grid_);
    layout->addWidget(VScroll);
    connect(VScroll, &QScrollBar::valueChanged, this, [this](int v) { view_.setFirstRegister(v); });
    connect(grid_, &QTableWidget::cellClicked, this, [this](int row, int) { view_.rowClick(row); });
    grid_->viewport()->installEventFilter(this);
    view_.onChanged = [this] { draw(); };
    view_.SetRes();
    view_.Redraw();
}

QSize Registri::sizeHint() const {
    int width = VScroll->sizeHint().width() + 2 * grid_->frameWidth();
    for (int c = 0; c < 4; ++c)
        width += grid_->columnWidth(c);
    const int height = grid_->horizontalHeader()->sizeHint().height() +
                       WantedRows * grid_->verticalHeader()->defaultSectionSize() + 2 * grid_->frameWidth();
    return {width, height};
}

Registri::~Registri() {
    view_.onChanged = nullptr;
}

void Registri::draw() {
    setWindowTitle(latin1(view_.Caption));
    QStringList headers;
    for (const auto& h : view_.Headers)
        headers << latin1(h);
    grid_->setHorizontalHeaderLabels(headers);
    grid_->setRowCount(static_cast<int>(view_.Rows.size()));
    for (int r = 0; r < grid_->rowCount(); ++r) {
        const auto& row = view_.Rows[static_cast<size_t>(r)];
        const std::string cells[] = {row.Label, row.Name, row.Value, row.Type};
        for (int c = 0; c < 4; ++c) {
            QTableWidgetItem* item = grid_->item(r, c);
            if (!item) grid_->setItem(r, c, item = new QTableWidgetItem);
            item->setText(shown(cells[c]));
        }
    }
    const QSignalBlocker block(VScroll);
    VScroll->setRange(0, view_.lastFirstRegister());
    VScroll->setPageStep(view_.visibleRows());
    VScroll->setValue(view_.firstRegister());
}

bool Registri::eventFilter(QObject* watched, QEvent* event) {
    if (watched != grid_->viewport()) return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::Resize) fitRows();
    // The table shows only the rows in view: the wheel moves our own bar, which scrolls the register table.
    if (event->type() == QEvent::Wheel) return QCoreApplication::sendEvent(VScroll, event), true;
    return QWidget::eventFilter(watched, event);
}

void Registri::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F5)
        view_.refresh();
    else
        QWidget::keyPressEvent(event);
}

void Registri::fitRows() {
    const int rowHeight = grid_->verticalHeader()->defaultSectionSize();
    const int room = grid_->viewport()->height();
    if (rowHeight > 0 && room > 0) view_.setVisibleRows(room / rowHeight);
}
