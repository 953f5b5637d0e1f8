#pragma once
#include <QListWidget>

class Log;

// The log window: a list of the Log's lines that follows the last one; long lines scroll sideways.
class LogWindow : public QListWidget {
    Q_OBJECT
  public:
    explicit LogWindow(Log& log, QWidget* parent = nullptr);
    ~LogWindow() override;

  private:
    void refresh();
    Log& log_;
};
