#include "devconfig/module_memory.h"

#include "core/app_context.h"
#include "comm/device_procedures.h"
#include "comm/input_register_read.h"

#include <string>

namespace {

constexpr uint8_t ReadLength = 8;

// The answer landed in MemoryImage bytes 0..7; byte k is the code of channel first + k.
bool readTable(AppContext& app, uint8_t sub, TypeRows& rows, size_t first, size_t count) {
    if (!LeggiMemoria(app, sub, ChannelTypeAddress, 0, ReadLength)) return false;
    for (size_t k = 0; k < count; ++k)
        rows[first + k].selectCode(app.project.MemoryImage[k]);
    return true;
}

bool writeTable(AppContext& app, uint8_t sub, const TypeRows& rows, size_t first, size_t count) {
    for (size_t k = 0; k < count; ++k)
        app.project.MemoryImage[k] = rows[first + k].selected()->Code;
    return ScriviMemoria(app, sub, ChannelTypeAddress, 0, static_cast<uint8_t>(count));
}

void writeRegister(AppContext& app, uint8_t node, int16_t reg, double value) {
    ScriviRegistro(app, node, reg, value);
}

// The first channel without a selection, or -1.
int unselected(const TypeRows& rows, int count) {
    for (int k = 0; k < count; ++k)
        if (!rows[static_cast<size_t>(k)].selected()) return k;
    return -1;
}

bool refuse(AppContext& app, int channel) {
    app.dialogs.messageBox("Channel " + std::to_string(channel) +
                               " has no input type selected: nothing was written.",
                           MsgButtons::Ok, MsgIcon::Warning, app.shell.UiText[111]);
    return false;
}

} // namespace

bool LeggiCanali(AppContext& app, TypeRows& rows) {
    return readTable(app, LowChannels, rows, 0, 6) && readTable(app, HighChannels, rows, 6, 2);
}

bool ScriviCanali(AppContext& app, const TypeRows& rows) {
    if (unselected(rows, 8) >= 0) return false;
    const bool low = writeTable(app, LowChannels, rows, 0, 6);
    return low && writeTable(app, HighChannels, rows, 6, 2);
}

void ScriviTipo(AppContext& app, uint8_t node, const TypeRows& rows, int channel) {
    if (const TypeRow::Item* item = rows[static_cast<size_t>(channel)].selected())
        writeRegister(app, node, InputTypeRegister, item->Code);
    app.pump.pausa(0.5);
}

void ReadChannelTypes(AppContext& app, uint8_t node, TypeRows& rows) {
    writeRegister(app, node, SubAddressRegister, SubAddressOpen);
    LeggiCanali(app, rows);
    writeRegister(app, node, SubAddressRegister, 0);
}

bool WriteChannelTypes(AppContext& app, uint8_t node, const TypeRows& rows) {
    if (int k = unselected(rows, 8); k >= 0) return refuse(app, k);
    writeRegister(app, node, SubAddressRegister, SubAddressOpen);
    const bool ok = ScriviCanali(app, rows);
    writeRegister(app, node, SubAddressRegister, 0);
    return ok;
}

bool WriteDisplayType(AppContext& app, uint8_t node, const TypeRows& rows) {
    if (!rows[0].selected()) return refuse(app, 0);
    const auto control = LeggiRegistriInput(app, node, ControlRegister, 1);
    if (!control) {
        app.dialogs.messageBox("Register 10 of the module could not be read: the input type was not written.",
                               MsgButtons::Ok, MsgIcon::Warning, app.shell.UiText[111]);
        return false;
    }
    const uint16_t v = (*control)[0];
    writeRegister(app, node, SubAddressRegister, 0);
    writeRegister(app, node, ControlRegister, v | 0x8000);
    app.pump.pausa(0.5);
    ScriviTipo(app, node, rows, 0);
    app.pump.pausa(0.5);
    writeRegister(app, node, ControlRegister, v);
    app.pump.pausa(1);
    return true;
}
