#include "app/ui/main_window.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/shell_state.h"
#include "app/ui/log_window.h"

MainWindow::MainWindow(ShellState& shell, QWidget* parent)
    : QMainWindow(parent), shell_(shell), mdi_(new QMdiArea(this)) {
    setCentralWidget(mdi_);
    auto* log = mdi_->addSubWindow(new LogWindow(shell_.log));
    log->show();
}
