#include "program/transfer/memory_request.h"

#include <algorithm>

#include "core/app_context.h"
#include "comm/device_procedures.h"
#include "comm/transaction.h"
#include "program/transfer/controller_memory_map.h"

namespace {

void putHeader(CommState& comm, uint8_t sub, int address) {
    comm.TxBuffer[0] = comm.CurrentDevice.NodeAddress;
    comm.TxBuffer[1] = MemoryAccessFunction;
    comm.TxBuffer[2] = sub;
    comm.TxBuffer[3] = 0;
    comm.TxBuffer[4] = static_cast<uint8_t>((address >> 8) & 0xFF);
    comm.TxBuffer[5] = static_cast<uint8_t>(address & 0xFF);
    comm.TxBuffer[6] = TransferBlock;
    comm.TxLength = 7;
}

} // namespace

bool WriteBlock(AppContext& app, int address, std::span<const uint8_t, 32> data) {
    putHeader(app.comm, WriteMemory, address);
    std::copy(data.begin(), data.end(), app.comm.TxBuffer.begin() + 7);
    app.comm.TxLength = 7 + TransferBlock;
    return TrasmettiRicevi(app, -1) == 0;
}

bool ReadBlock(AppContext& app, uint8_t sub, int address, std::span<uint8_t, 32> out) {
    // A pass of the event loop between two blocks, as the download's pause gives: what the user typed or
    // clicked during the last block's wait comes in now, not once the whole upload has ended.
    app.pump.processEvents();
    putHeader(app.comm, sub, address);
    if (TrasmettiRicevi(app, -1) != 0) return false;
    // The answer must hold its byte count and all 32 bytes before any of them is used.
    if (app.comm.RxLength < 3 + TransferBlock || app.comm.RxBuffer[2] != TransferBlock) return false;
    std::copy_n(app.comm.RxBuffer.begin() + 3, TransferBlock, out.begin());
    return true;
}

bool BlockTransfer(AppContext& app, const TransferView& view, const std::string& what, bool ok, size_t count,
                   const std::function<bool(size_t)>& step, const std::function<bool()>& finish) {
    Log& log = app.shell.log;
    view.busy(true);
    log.LogStart();
    log.LogWrite(what + "ing ...");
    for (size_t k = 0; ok && k < count; ++k) ok = step(k);
    if (ok && finish) ok = finish();
    log.LogWrite(what + (ok ? " Successful" : " Failed"));
    view.busy(false);
    return ok;
}
