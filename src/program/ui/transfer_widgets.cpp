#include "program/ui/transfer_widgets.h"

#include <QApplication>
#include <QProgressBar>

int WidgetProgressBar::maximum() const { return bar_.maximum(); }

void WidgetProgressBar::setValue(int value) { bar_.setValue(value); }

void ApplicationBusyPointer::setBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}
