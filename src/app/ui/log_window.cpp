#include "app/ui/log_window.h"

#include <QScrollBar>

#include "app/log.h"

LogWindow::LogWindow(Log& log, QWidget* parent) : QPlainTextEdit(parent), log_(log) {
    setReadOnly(true);
    setWindowTitle("Log");
    log_.onChanged = [this] { refresh(); };
    refresh();
}

void LogWindow::refresh() {
    QString text;
    for (const auto& line : log_.lines()) {
        text += QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
        text += '\n';
    }
    setPlainText(text);
    moveCursor(QTextCursor::End);
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}
