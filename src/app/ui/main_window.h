#pragma once
#include <QMainWindow>

class QMdiArea;
struct ShellState;

// Principale: the MDI main window.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(ShellState& shell, QWidget* parent = nullptr);
    QMdiArea* mdi() const { return mdi_; }

private:
    ShellState& shell_;
    QMdiArea* mdi_;
};
