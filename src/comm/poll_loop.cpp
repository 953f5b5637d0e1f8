#include "comm/poll_loop.h"

#include "core/app_context.h"

void PollLoop(AppContext& ctx, double seconds, const std::function<bool()>& pass, PollWait wait,
              PollStart start) {
    CommState& comm = ctx.comm;
    const int16_t outerBusy = comm.PollBusy;
    comm.PollBusy = 1;
    // A lost link fails every request with "not connected", which leaves PollStop alone: end here too.
    const auto ended = [&comm] { return comm.PollStop != 0 || !comm.CurrentDevice.Connected; };
    bool more = start == PollStart::AfterWait || pass();
    while (more && !ended()) {
        ctx.pump.processEvents();
        if (wait == PollWait::UntilStop)
            ctx.pump.waitUntil(ended, static_cast<int>(seconds * 1000.0 + 0.5), false);
        else
            ctx.pump.pausa(seconds);
        // A key pressed during the wait has sent its own commands; one more pass would undo them.
        more = !ended() && pass();
    }
    comm.PollBusy = outerBusy;
}
