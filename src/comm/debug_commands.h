#pragma once
// The toolbar's debug keys: run, run to break, halt/step, animate and stop. The loops run inside the key's
// handler and process window events on every pass, so a later key (which sets PollStop) ends them.
#include <cstdint>
#include <functional>

struct AppContext;
class DebugAnimation;

class DebugCommands {
  public:
    // refreshRegisters: Registri.AggiornaRegistri_new(True), read the shown registers and redraw them.
    DebugCommands(AppContext& ctx, DebugAnimation& animation, std::function<void()> refreshRegisters)
        : ctx_(ctx), animation_(animation), refreshRegisters_(std::move(refreshRegisters)) {}

    // Each returns false when the router's closing status refresh is skipped.
    // "run": the run command, then with RegUpdate a register poll every second until stopped.
    bool run();
    // "runBr": after the modified-project warning, run to the next breakpoint and wait until the
    // controller's run status leaves the run-to-break code; then show where it stopped.
    bool runToBreak();
    // "pause": one halt/step.
    bool pause();
    // "step": the animated run, one halt/step every AnimateTime milliseconds until stopped.
    bool step();
    // "stop": halt, then stop.
    bool stop();

  private:
    void showWhereStopped();
    void refreshRegisters() const;
    int32_t readRunStatus();

    AppContext& ctx_;
    DebugAnimation& animation_;
    std::function<void()> refreshRegisters_;
};
