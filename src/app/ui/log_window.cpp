#include "app/ui/log_window.h"

#include <QFontDatabase>

#include "core/log.h"
#include "app/ui/ui_texts.h"

LogWindow::LogWindow(Log& log, QWidget* parent) : QListWidget(parent), log_(log) {
    setWindowTitle("Log");
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Long lines are read by scrolling sideways, never cut short.
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    log_.onChanged = [this] { refresh(); };
    refresh();
}

LogWindow::~LogWindow() {
    log_.onChanged = nullptr;
}

void LogWindow::resizeEvent(QResizeEvent* event) {
    QListWidget::resizeEvent(event);
    if (count() > 0) scrollToItem(item(count() - 1));
}

// Lines are only ever appended or all cleared, so only the new ones are added.
void LogWindow::refresh() {
    const auto& lines = log_.lines();
    if (static_cast<size_t>(count()) > lines.size()) clear();
    for (size_t i = static_cast<size_t>(count()); i < lines.size(); ++i)
        addItem(fromLatin1(lines[i]));
    // The newest line written with LogWrite is selected and scrolled to; a date header is not.
    if (log_.selected() >= 0 && log_.selected() < count()) {
        setCurrentRow(log_.selected());
        scrollToItem(item(log_.selected()));
    }
}
