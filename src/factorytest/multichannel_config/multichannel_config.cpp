#include "factorytest/multichannel_config/multichannel_config.h"

#include <algorithm>

#include "core/app_context.h"
#include "comm/device_procedures.h"
#include "comm/transaction.h"
#include "factorytest/fields/command_guard.h"
#include "factorytest/fields/field_numbers.h"
#include "factorytest/fields/staged_write.h"

namespace {

constexpr double GroupPause = 0.5;

} // namespace

MultiChannelConfig::MultiChannelConfig(AppContext& app) : app_(app), pump_(app.pump) {
    txt_Input_Type.fill("0");
    txt_Input.fill("0");
    txt_Input_Offset.fill("0");
    txt_Input_K.fill("1");
    txt_OffsetCJC.fill("0");
    cjcEnabled.fill(true);
}

void MultiChannelConfig::changed() {
    if (onChanged) onChanged();
}

void MultiChannelConfig::refuse(const char* text) {
    app_.dialogs.messageBox(text, MsgButtons::Ok, MsgIcon::Critical);
}

std::optional<uint8_t> MultiChannelConfig::slave() {
    return fieldByte(AddSlave);
}

std::optional<std::array<uint8_t, MeasuredChannels>> MultiChannelConfig::typeCodes() const {
    std::array<uint8_t, MeasuredChannels> codes{};
    for (size_t i = 0; i < MeasuredChannels; ++i) {
        const auto v = fieldByte(txt_Input_Type[i]);
        if (!v) return {};
        codes[i] = *v;
    }
    return codes;
}

void MultiChannelConfig::device_ty_Click(int index) {
    const auto& models = MultiChannelModels();
    if (index < 0 || index >= static_cast<int>(models.size())) return;
    device_ty = index;
    inputTypesShown = true;
    inputTypes.clear();
    for (const auto& [code, name] : models[static_cast<size_t>(index)].Types)
        inputTypes.push_back(InputTypeText(code, name));
    input_ty_Click(0);
}

void MultiChannelConfig::input_ty_Click(int index) {
    const auto& models = MultiChannelModels();
    int code = 0;
    if (device_ty >= 0 && index >= 0) {
        const auto& types = models[static_cast<size_t>(device_ty)].Types;
        if (index < static_cast<int>(types.size())) code = types[static_cast<size_t>(index)].first;
    }
    input_ty = index;
    txt_Input_Type.fill(std::to_string(code));
    changed();
}

void MultiChannelConfig::Command2_Click() {
    const CommandGuard guard(app_, busy_, [this] { changed(); });
    if (!guard) return;
    const auto node = slave();
    if (!node) return refuse();
    const auto& image = app_.project.MemoryImage;
    bool ok = LeggiMemoria(app_, *node, 0, 0, SlotCount);
    for (size_t k = 0; ok && k < SlotCount; ++k)
        txt_Input_Offset[k] = signedByteText(image[k]);
    changed();
    ok = ok && LeggiMemoria(app_, *node, CjcAddress, 0, 16);
    for (size_t j = 0; ok && j < CjcCount; ++j)
        txt_OffsetCJC[j] = signedByteText(image[j]);
    changed();
    for (int k = 0; ok && k < SlotCount; ++k) {
        ok = LeggiMemoria(app_, *node, SlotKAddress + 4 * k, 0, 4);
        if (ok)
            txt_Input_K[static_cast<size_t>(k)] =
                significantText(DecodeSlotK(std::span<const uint8_t, 4>(image.data(), 4)));
        changed();
    }
    if (!ok) app_.dialogs.messageBox("Errore", MsgButtons::Ok, MsgIcon::None);
}

bool MultiChannelConfig::writeOffset(uint8_t node, uint16_t address, const std::string& text) {
    const auto b = signedFieldByte(text);
    if (!b) return false;
    WriteStaged(app_, node, address, std::array<uint8_t, 1>{*b});
    return true;
}

bool MultiChannelConfig::writeK(uint8_t node, int slot) {
    const auto k = singleValue(txt_Input_K[static_cast<size_t>(slot)]);
    if (!k) return false;
    WriteStaged(app_, node, static_cast<uint16_t>(SlotKAddress + 4 * slot), EncodeSlotK(*k));
    return true;
}

void MultiChannelConfig::WriteOffset_Click(int slot) {
    const CommandGuard guard(app_, busy_, [this] { changed(); });
    const auto node = slave();
    if (!guard || slot < 0 || slot >= SlotCount) return;
    if (!node ||
        !writeOffset(*node, static_cast<uint16_t>(slot), txt_Input_Offset[static_cast<size_t>(slot)]))
        refuse();
}

void MultiChannelConfig::WriteCJC_Click(int index) {
    const CommandGuard guard(app_, busy_, [this] { changed(); });
    const auto node = slave();
    if (!guard || index < 0 || index >= CjcCount) return;
    if (!node || !writeOffset(*node, static_cast<uint16_t>(CjcAddress + index),
                              txt_OffsetCJC[static_cast<size_t>(index)]))
        refuse();
}

void MultiChannelConfig::WriteK_Click(int slot) {
    const CommandGuard guard(app_, busy_, [this] { changed(); });
    const auto node = slave();
    if (!guard || slot < 0 || slot >= SlotCount) return;
    if (!node || !writeK(*node, slot)) refuse();
}

void MultiChannelConfig::resetGroup(const char* what, int count,
                                    const std::function<void(uint8_t, int)>& write) {
    const CommandGuard guard(app_, busy_, [this] { changed(); });
    if (!guard) return;
    const auto node = slave();
    if (!node) return refuse();
    changed();
    pump_.run(app_.shell.log, what, [&] {
        for (int i = 0; i < count; ++i) {
            write(*node, i);
            pump_.pausa(GroupPause);
        }
    });
}

void MultiChannelConfig::Set_all_z_Click() {
    if (busy_) return;
    txt_Input_Offset.fill("0");
    resetGroup("Set zero -> 0", SlotCount,
               [this](uint8_t node, int k) { writeOffset(node, static_cast<uint16_t>(k), "0"); });
}

void MultiChannelConfig::Set_all_k_Click() {
    if (busy_) return;
    txt_Input_K.fill("1");
    resetGroup("Set k -> 1", SlotCount, [this](uint8_t node, int k) { writeK(node, k); });
}

void MultiChannelConfig::Set_all_CJC_Click() {
    if (busy_) return;
    txt_OffsetCJC.fill("0");
    resetGroup("Set CJC -> 0", CjcCount, [this](uint8_t node, int j) {
        writeOffset(node, static_cast<uint16_t>(CjcAddress + j), "0");
    });
    cjcEnabled[0] = false;
    cjcEnabled[1] = true;
    changed();
}

bool MultiChannelConfig::measure(uint8_t node, const std::array<uint8_t, MeasuredChannels>& types) {
    CommState& comm = app_.comm;
    const auto request = MeasureRequest(node, types);
    std::copy(request.begin(), request.end(), comm.TxBuffer.begin());
    comm.TxLength = static_cast<int>(request.size());
    const auto readings = TrasmettiRicevi(app_, 0) == ComOk
                              ? DecodeMeasurement(std::span<const uint8_t>(
                                    comm.RxBuffer.data(), static_cast<size_t>(comm.RxLength)))
                              : std::nullopt;
    if (!readings) {
        // An answer without the four readings ends a continuous measurement like a failed transaction.
        comm.PollStop = 1;
        return false;
    }
    for (size_t i = 0; i < MeasuredChannels; ++i)
        txt_Input[i] = std::to_string((*readings)[i]);
    changed();
    return true;
}

bool MultiChannelConfig::Command3_Click() {
    const CommandGuard guard(app_, busy_, [this] { changed(); });
    if (!guard) return false;
    const auto node = slave();
    const auto types = typeCodes();
    if (!node || !types) {
        refuse();
        return false;
    }
    return measure(*node, *types);
}

void MultiChannelConfig::Command4_Click() {
    const CommandGuard guard(app_, busy_, [this] { changed(); });
    if (!guard) return;
    const auto node = slave();
    const auto types = typeCodes();
    if (!node || !types) return refuse();
    CommState& comm = app_.comm;
    comm.PollStop = 0;
    comm.PollBusy = 1;
    polling_ = true;
    changed();
    // The node and types are taken again for each measurement, as typed meanwhile; a text that no longer
    // reads ends the loop.
    pump_.run(app_.shell.log, "Continuous measurement", [&] {
        do {
            const auto n = slave();
            const auto t = typeCodes();
            if (!n || !t || !measure(*n, *t)) break;
            pump_.processEvents();
        } while (comm.PollStop != 1);
    });
    comm.PollStop = 1;
    comm.PollBusy = 0;
    polling_ = false;
}

void MultiChannelConfig::Form_Unload() {
    pump_.close();
}

void MultiChannelConfig::Command5_Click() {
    app_.comm.PollStop = 1;
}

void MultiChannelConfig::Command1_Click() {
    const auto ref = fieldNumber(Text1), val = fieldNumber(Text2);
    if (!ref || !val || *val == 0) return refuse();
    Text3 = fixed4(*ref / *val);
    changed();
}
