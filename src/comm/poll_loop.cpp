#include "comm/poll_loop.h"

#include "core/app_context.h"

void PollLoop(AppContext& ctx, double seconds, const std::function<bool()>& pass) {
    CommState& comm = ctx.comm;
    const int16_t outerBusy = comm.PollBusy;
    comm.PollBusy = 1;
    // A lost link fails every request with "not connected", which leaves PollStop alone: end here too.
    while (comm.PollStop == 0 && comm.CurrentDevice.Connected) {
        ctx.pump.processEvents();
        ctx.pump.pausa(seconds);
        // A key pressed during the wait has sent its own commands; one more pass would undo them.
        if (comm.PollStop != 0 || !comm.CurrentDevice.Connected || !pass()) break;
    }
    comm.PollBusy = outerBusy;
}
