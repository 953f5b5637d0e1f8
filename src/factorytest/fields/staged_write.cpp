#include "factorytest/fields/staged_write.h"

#include <algorithm>

#include "app/app_context.h"
#include "comm/device_procedures.h"

bool WriteStaged(AppContext& app, uint8_t node, int32_t address, std::span<const uint8_t> bytes) {
    if (bytes.size() > 255) return false;
    std::copy(bytes.begin(), bytes.end(), app.project.MemoryImage.begin());
    return ScriviMemoria(app, node, address, 0, static_cast<uint8_t>(bytes.size()));
}
