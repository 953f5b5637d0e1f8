#include "factorytest/analog_config/analog_config.h"

#include <algorithm>

#include "core/app_context.h"
#include "comm/device_procedures.h"
#include "factorytest/analog_config/default_sets.h"
#include "factorytest/fields/command_guard.h"
#include "factorytest/fields/field_numbers.h"
#include "factorytest/fields/staged_write.h"

namespace {

constexpr double WritePause = 0.5;

// The nominal value of a channel's K: channel 1's depends on the slave the module answers at.
std::optional<double> nominal(int channel, const std::string& slave) {
    static constexpr std::array<double, 5> Nominals{10000, 0, 1000, 10000, 20000};
    if (channel < 0 || channel >= 5) return {};
    if (channel != 1) return Nominals[static_cast<size_t>(channel)];
    const auto s = fieldNumber(slave);
    if (s == 247.0) return 3000;
    if (s == 246.0) return 20000;
    return {};
}

} // namespace

AnalogConfig::AnalogConfig(AppContext& app) : app_(app), pump_(app.pump) {}

void AnalogConfig::Form_Unload() {
    pump_.close();
}

void AnalogConfig::changed() {
    if (onChanged) onChanged();
}

void AnalogConfig::refuse() {
    app_.dialogs.messageBox("Errore!", MsgButtons::Ok, MsgIcon::Critical);
}

std::optional<uint8_t> AnalogConfig::slave() {
    return fieldByte(AddSlave);
}

void AnalogConfig::Command2_Click() {
    const CommandGuard guard(app_, busy_, [this] { changed(); });
    if (!guard) return;
    const auto node = slave();
    if (!node) return refuse();
    changed();
    for (const ConfigRead& read : ReadAllPlan) {
        if (!LeggiMemoria(app_, *node, read.Address, 0, read.Count)) break;
        ShowConfigBytes(fields, read, std::span<const uint8_t>(app_.project.MemoryImage.data(), read.Count));
        changed();
    }
}

void AnalogConfig::cmd_WriteProg_Click(int index) {
    const CommandGuard guard(app_, busy_, [this] { changed(); });
    if (!guard || (index != 0 && index != 1)) return;
    const auto image = EncodeConfig(fields);
    const auto node = index == 0 ? slave() : std::optional<uint8_t>(app_.comm.CurrentDevice.NodeAddress);
    if (!image || !node) return refuse();
    changed();
    const auto plan = WritePlan(index, app_.model().ProgramEnd);
    pump_.run(app_.shell.log, index == 0 ? "Write" : "Write Def", [&] {
        for (size_t i = 0; i < plan.size(); ++i) {
            const ConfigWrite& w = plan[i];
            // Each block is staged right before it goes: another window may use MemoryImage during the
            // pauses.
            std::copy_n(image->begin() + w.Start, w.Count, app_.project.MemoryImage.begin() + w.Start);
            ScriviMemoria(app_, *node, w.Address, w.Start, w.Count);
            // The module gets its pause after each block; the controller needs none after its last.
            if (index == 0 || i + 1 < plan.size()) pump_.pausa(WritePause);
        }
    });
}

void AnalogConfig::SetDefault_Click(int k) {
    if (busy_) return;
    ApplyDefaultSet(k, fields, AddSlave);
    changed();
}

void AnalogConfig::txt_Input_Mis_Change(int channel) {
    if (channel < 0 || channel >= ChannelCount) return;
    const auto n = nominal(channel, AddSlave);
    const auto measured = fieldNumber(txt_Input_Mis[static_cast<size_t>(channel)]);
    if (!n || !measured || *measured == 0) return;
    const double k = *n / *measured;
    if (!fitsSingle(k)) return;
    fields.txt_Input_K[static_cast<size_t>(channel)] = significantText(k);
    changed();
}

void AnalogConfig::ScriviK(int first, int last) {
    const CommandGuard guard(app_, busy_, [this] { changed(); });
    if (!guard) return;
    first = std::max(first, 0);
    last = std::min(last, ChannelCount - 1);
    const auto node = slave();
    bool valid = node.has_value();
    for (int c = first; c <= last; ++c)
        valid = valid && singleValue(fields.txt_Input_K[static_cast<size_t>(c)]).has_value();
    if (!valid) return refuse();
    changed();
    for (int c = first; c <= last; ++c) {
        const auto bytes = EncodeCostante3(*singleValue(fields.txt_Input_K[static_cast<size_t>(c)]));
        WriteStaged(app_, *node, KAddress + 3 * c, bytes);
    }
}
