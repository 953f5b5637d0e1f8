#pragma once
// The transfers' progress bar and busy pointer on Qt widgets.
#include "program/transfer/transfer_view.h"

class QProgressBar;

class WidgetProgressBar : public ProgressBar {
public:
    explicit WidgetProgressBar(QProgressBar& bar) : bar_(bar) {}
    int maximum() const override;
    void setValue(int value) override;

private:
    QProgressBar& bar_;
};

// The hourglass over the whole application; setting it twice or clearing it twice is harmless.
class ApplicationBusyPointer : public BusyPointer {
public:
    ~ApplicationBusyPointer() override { setBusy(false); }
    void setBusy(bool busy) override;

private:
    bool busy_ = false;
};
