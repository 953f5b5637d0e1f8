#pragma once
#include <QListWidget>

class Log;

// The log window: a list of the Log's lines that follows the last one; long lines scroll sideways.
class LogWindow : public QListWidget {
    Q_OBJECT
  public:
    explicit LogWindow(Log& log, QWidget* parent = nullptr);
    ~LogWindow() override;

  protected:
    // The newest line stays in sight whatever the new size.
    void resizeEvent(QResizeEvent* event) override;

  private:
    void refresh();
    Log& log_;
};
