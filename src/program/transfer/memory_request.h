#pragma once
// One 32-byte memory-access request (Modbus function 20) of the transfers, built afresh on every call
// since the transaction consumes the transmit buffer.
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "program/transfer/transfer_view.h"

struct AppContext;

// Sends [node, 20, 4, 0, address high, address low, 32, data] with message boxes; true on success.
bool WriteBlock(AppContext& app, int address, std::span<const uint8_t, 32> data);

// Sends [node, 20, sub (ReadImage or ReadMemory), 0, address high, address low, 32] with message boxes and copies the 32 answer
// bytes to out; false when the transaction failed or the answer is too short.
bool ReadBlock(AppContext& app, uint8_t sub, int address, std::span<uint8_t, 32> out);

// One transfer over count blocks: busy pointer, the date line, what + "ing ...", step(k) for each block
// while all went well (ok false sends nothing), then finish() when there is one and all went well (the
// transfer's last part, such as writing what was read to a file), then what + " Successful" or
// what + " Failed".
bool BlockTransfer(AppContext& app, const TransferView& view, const std::string& what, bool ok, size_t count,
                   const std::function<bool(size_t)>& step, const std::function<bool()>& finish = {});
