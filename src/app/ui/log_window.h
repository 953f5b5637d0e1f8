#pragma once
#include <QPlainTextEdit>

class Log;

// The log window: a read-only view of the Log that follows its last line.
class LogWindow : public QPlainTextEdit {
    Q_OBJECT
public:
    LogWindow(Log& log, QWidget* parent = nullptr);

private:
    void refresh();
    Log& log_;
};
