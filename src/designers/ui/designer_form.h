#pragma once
// The designer windows show the project's records as they are now: a project opened or closed while a
// designer stays open is listed again when the main window becomes active after it.
#include <QEvent>
#include <QWidget>

class DesignerForm : public QWidget {
  public:
    using QWidget::QWidget;
    // Lists the records again, keeping the selection where it can.
    virtual void refresh() = 0;

  protected:
    void changeEvent(QEvent* event) override {
        QWidget::changeEvent(event);
        if (event->type() == QEvent::ActivationChange && isActiveWindow()) refresh();
    }
};
