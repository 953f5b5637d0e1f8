#pragma once
// A session with the simulated module at node 10 whose pauses are only counted, so sequences with
// waits in them run at once.
#include <algorithm>

#include "support/sim_controller.h"
#include "support/sim_session.h"

struct CountingPump : QtEventPump {
    double paused = 0;
    void pausa(double seconds) override {
        paused += seconds;
        processEvents();
    }
};

struct DevconfigSession {
    DevconfigSession() {
        sim.answerSubAddress(247);
        s.comm->CurrentDevice.LinkTimeout = 300; // a silent sub-address fails fast
    }
    bool connect() { return s.connectTcp(sim.startTcp()); }
    int errors() const {
        const auto& lines = s.shell->log.lines();
        return static_cast<int>(std::count(lines.begin(), lines.end(), "Error  "));
    }

    SimController sim{10};
    SimSession s;
    CountingPump pump;
    AppContext app{*s.shell, *s.comm, *s.project, pump, s.dialogs, &s.link};
};
