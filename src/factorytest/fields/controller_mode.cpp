#include "factorytest/fields/controller_mode.h"

#include "comm/device_procedures.h"
#include "core/button_groups.h"

bool SetControllerMode(AppContext& app, bool debug) {
    const bool set = ImpostaModoDebug(app, debug);
    TakeModeRead(app, set && debug);
    return set;
}
