#pragma once
// What the debug animation tests share: a program view of a given number of rungs that records the
// colours and the scroll position, and a pump that runs the real event loop but replaces the pauses,
// so a test can press keys "during" a wait without waiting seconds.
#include <map>
#include <optional>
#include <vector>

#include "comm/debug_animation.h"
#include "platform/qt_event_pump.h"

struct FakeRungView {
    int rungs = 20;       // labels 1..rungs (element p + 1 for counter p), plus the scratch label 0
    int firstVisible = 0; // VScroll
    int visibleRows = 10;
    int loads = 0;
    std::map<int, uint32_t> colours; // element -> last colour
    std::vector<std::pair<int, uint32_t>> calls;

    DebugAnimationView bind() {
        DebugAnimationView v;
        v.load = [this] { ++loads; };
        v.colourRung = [this](int element, uint32_t colour) {
            if (element < 0 || element > rungs) return false;
            colours[element] = colour;
            calls.emplace_back(element, colour);
            return true;
        };
        v.rowInView = [this](int element) -> std::optional<bool> {
            if (element < 0 || element > rungs) return std::nullopt;
            const int rung = element - 1;
            return rung >= firstVisible && rung < firstVisible + visibleRows;
        };
        v.scrollTo = [this](int first) { firstVisible = first; };
        return v;
    }
};

class PausePump : public EventPump {
  public:
    explicit PausePump(QtEventPump& real) : real_(real) {}
    std::vector<double> pauses;
    std::function<void(size_t)> onPause; // what the user does during pause n (1-based)

    void processEvents() override { real_.processEvents(); }
    void pausa(double seconds) override {
        pauses.push_back(seconds);
        if (onPause) onPause(pauses.size());
        real_.processEvents();
    }
    bool waitUntil(const std::function<bool()>& done, int timeoutMs, bool excludeUserInput) override {
        return real_.waitUntil(done, timeoutMs, excludeUserInput);
    }
    int64_t nowMs() const override { return real_.nowMs(); }

  private:
    QtEventPump& real_;
};
