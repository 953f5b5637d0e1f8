#include "factorytest/energy_meter/energy_meter_reader.h"

#include <algorithm>
#include <optional>

#include "comm/transaction.h"
#include "core/app_context.h"
#include "factorytest/energy_meter/energy_meter_blocks.h"
#include "factorytest/fields/command_guard.h"
#include "factorytest/fields/field_numbers.h"

EnergyMeterReader::EnergyMeterReader(AppContext& app) : app_(app), pump_(app.pump) {}

void EnergyMeterReader::changed() {
    if (onChanged) onChanged();
}

void EnergyMeterReader::Form_Load() {
    for (auto& list : lists)
        list.clear();
    changed();
}

bool EnergyMeterReader::readAll(uint8_t slave) {
    CommState& comm = app_.comm;
    const auto& blocks = EnergyMeterBlocks();
    for (size_t b = 0; b < blocks.size(); ++b) {
        if (b > 0 && polling_) {
            // Input held during the last request's wait acts now: a Stop or the window's close ends the
            // continuous reading after that request, not after the whole pass.
            pump_.processEvents();
            if (comm.PollStop == 1) return true;
        }
        const auto request = BlockRequest(slave, blocks[b]);
        std::copy(request.begin(), request.end(), comm.TxBuffer.begin());
        comm.TxLength = static_cast<int>(request.size());
        if (TrasmettiRicevi(app_, -1) != ComOk) return false;
        auto rows = DecodeBlock(
            blocks[b], std::span<const uint8_t>(comm.RxBuffer.data(), static_cast<size_t>(comm.RxLength)));
        if (!rows) {
            // Fewer registers than asked: a failed block, like a failed transaction.
            app_.shell.log.LogStart();
            app_.shell.log.LogWrite(std::string("Error: short answer for ") + blocks[b].List);
            comm.PollStop = 1;
            return false;
        }
        lists[b] = std::move(*rows);
        changed();
    }
    return true;
}

std::optional<uint8_t> EnergyMeterReader::slave() {
    return fieldByte(Indirizzo);
}

bool EnergyMeterReader::cmd_Read_Click() {
    const CommandGuard guard(app_, busy_, [this] { changed(); });
    if (!guard) return false;
    const auto node = slave();
    if (!node) {
        app_.dialogs.messageBox("Errore!", MsgButtons::Ok, MsgIcon::Critical);
        return false;
    }
    changed();
    return readAll(*node);
}

// The address is read again for every pass; one that no longer reads ends the loop.
void EnergyMeterReader::cmd_start_Click() {
    const CommandGuard guard(app_, busy_, [this] { changed(); });
    if (!guard) return;
    if (!slave()) {
        app_.dialogs.messageBox("Errore!", MsgButtons::Ok, MsgIcon::Critical);
        return;
    }
    CommState& comm = app_.comm;
    comm.PollStop = 0;
    polling_ = true;
    changed();
    pump_.run(app_.shell.log, "Continuous reading", [&] {
        for (auto node = slave(); node && comm.PollStop != 1 && readAll(*node); node = slave())
            pump_.processEvents();
    });
    polling_ = false;
    cmd_stop_Click();
}

void EnergyMeterReader::Form_Unload() {
    pump_.close();
}

void EnergyMeterReader::cmd_stop_Click() {
    app_.comm.PollStop = 1;
    changed();
}
