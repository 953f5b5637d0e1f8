#pragma once
// What a transfer shows while it runs: a progress bar and the busy mouse pointer. Windows implement
// these; headless runs leave them out.
#include <cmath>
#include <cstddef>

class ProgressBar {
public:
    virtual ~ProgressBar() = default;
    virtual int maximum() const = 0;
    virtual void setValue(int value) = 0;
};

class BusyPointer {
public:
    virtual ~BusyPointer() = default;
    virtual void setBusy(bool busy) = 0; // false: the arrow again
};

struct TransferView {
    ProgressBar* bar = nullptr;
    BusyPointer* pointer = nullptr;

    void progress(int value) const {
        if (bar) bar->setValue(value);
    }
    int maximum() const { return bar ? bar->maximum() : 0; }
    void busy(bool on) const {
        if (pointer) pointer->setBusy(on);
    }
};

// The download window's bar (1..101) after done of total steps, rounded to the nearest value.
inline int BarAfter(size_t done, size_t total) {
    return int(std::nearbyint(1 + 100.0 * double(done) / double(total)));
}
