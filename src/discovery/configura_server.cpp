#include "app/app_context.h"
#include "discovery/device_search.h"

void DeviceSearch::ConfiguraServer() {
    app_.dialogs.messageBox("Writing the default set-up into the gateway is not available in this version.",
                            MsgButtons::Ok, MsgIcon::Information, "Melqo");
}
