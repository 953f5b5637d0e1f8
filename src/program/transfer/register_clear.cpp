#include "program/transfer/register_clear.h"

#include <algorithm>

#include "core/app_context.h"
#include "comm/transaction.h"

namespace {
constexpr int ClearedRegisters = 16;
}

void ClearRegistri(AppContext& app) {
    CommState& comm = app.comm;
    uint16_t first = app.model().FirstUserRegister;
    const uint8_t head[] = {comm.CurrentDevice.NodeAddress, 16, uint8_t(first >> 8), uint8_t(first & 0xFF),
                            0, ClearedRegisters, 2 * ClearedRegisters};
    std::copy(std::begin(head), std::end(head), comm.TxBuffer.begin());
    std::fill_n(comm.TxBuffer.begin() + 7, 2 * ClearedRegisters, uint8_t{0});
    comm.TxLength = 7 + 2 * ClearedRegisters;
    TrasmettiRicevi(app, -1);
}
