#pragma once
// A program state with the English texts and the default model's register names, connected over
// Modbus TCP to a simulated controller on loopback.
#include <gtest/gtest.h>

#include "core/language.h"
#include "comm/register_map.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"

class ToolFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        CaricaRisorse(*s.shell, 1);
        MappaRegistri(s.app, false);
        s.comm->CurrentDevice.LinkTimeout = 300;
        ASSERT_TRUE(s.connectTcp(sim.startTcp()));
        sim.clearTranscript();
        s.shell->log.LogClear();
    }
    // The next n requests are answered as usual.
    void pass(int n) {
        for (int i = 0; i < n; ++i)
            sim.inject({SimFault::Delay, 0});
    }
    bool logged(const std::string& line) const {
        const auto& l = s.shell->log.lines();
        return std::find(l.begin(), l.end(), line + "  ") != l.end();
    }

    SimController sim{10};
    SimSession s;
};
