#pragma once
// A ready application context for tests: the English texts and the model catalogue as start-up loads
// them, a chosen model row, scripted dialogs and a pump that never waits.
#include <cstdint>
#include <functional>

#include "core/app_context.h"
#include "core/language.h"
#include "support/fake_dialogs.h"

// Runs "other events" on demand and adds up the pauses asked of it, without waiting.
class TestPump : public EventPump {
  public:
    std::function<void()> onEvents; // what other events do while someone waits
    double paused = 0;              // seconds of pauses asked for

    void processEvents() override {
        if (onEvents) onEvents();
    }
    void pausa(double seconds) override {
        paused += seconds;
        processEvents();
    }
    bool waitUntil(const std::function<bool()>& done, int, bool) override {
        for (int i = 0; i < 100 && !done(); ++i)
            processEvents();
        return done();
    }
    int64_t nowMs() const override { return 0; }
};

struct AppContextFixture {
    explicit AppContextFixture(uint8_t modelRow = DefaultModelIndex) {
        CaricaRisorse(shell, 1);
        comm.CurrentDevice.ModelIndex = modelRow;
    }

    ShellState shell;
    CommState comm;
    Project project;
    TestPump pump;
    FakeDialogs dialogs;
    AppContext ctx{shell, comm, project, pump, dialogs};
};
