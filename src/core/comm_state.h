#pragma once
// The communication state shared by every device request.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "core/device_record.h"

constexpr int BufferSize = 1001;
constexpr int DeviceTableSize = 101;
constexpr int RegisterCount = 2049;

struct RegisterRecord {
    std::string Label; // kind prefix + decimal register number, "%R26"
    std::string Name;
    uint8_t Kind = 0;
    uint8_t ValueType = 0;
    int32_t Value = 0;
    int16_t Valid = 0;
};

struct CommState {
    DeviceRecord CurrentDevice;
    std::array<DeviceRecord, DeviceTableSize> DeviceTable{};
    int16_t DeviceTableIndex = 0;

    int16_t LinkMode = 2; // 1 RTU over the serial port, 2 Modbus TCP, 0 ASCII
    std::array<uint8_t, BufferSize> TxBuffer{};
    int TxLength = 0;
    std::array<uint8_t, BufferSize> RxBuffer{};
    int RxLength = 0;
    std::string RxRaw;
    int16_t DataArrived = 0;
    int16_t AnswerTimeout = 2; // seconds (AnswerTimeoutFor the link time-out)
    int16_t AnswerExpected = -1;
    int16_t PollStop = 1;
    int16_t PollBusy = 0;
    int16_t MonitorStop = 0;
    int16_t SearchQueryA = 0;
    int16_t SearchQueryB = 0;
    uint8_t CrcLo = 0, CrcHi = 0;
    uint8_t Lrc = 0;

    // The manual request window's monitor: while MonitorOn, each exchange empties MonitorRx
    // (frm_dialoga.txt_buff_rx) and appends the answer bytes as "HH ".
    int16_t MonitorOn = 0;
    std::string MonitorRx;
    // Set while a transaction runs, so one started from a handler during its wait is refused.
    int16_t TransactionBusy = 0;
    // The operation of several requests under way ("a download"; see BusyRun), none when null.
    const char* RunUnderWay = nullptr;
    // Transaction identifier of the last Modbus TCP request; requests are numbered from 1, so that an
    // answer carrying 0 is never a late answer to one of them.
    uint16_t TransactionId = 0;
    // -1 once the device answered with identifier 0 where another was sent: it does not echo them, and
    // every request of this link goes out with 0. Cleared by Connetti; a new connection to the same address
    // (see TcpAnswerPending) keeps it.
    int16_t FixedTransactionId = 0;
    // -1 while a Modbus TCP request of this connection has not had its own answer taken whole (it got none
    // in time, a bad frame, more bytes than its answer, or was only sent): that answer, or the rest of it,
    // may still come. With a device that numbers its answers 0 the next request then goes on a new
    // connection, which clears it.
    int16_t TcpAnswerPending = 0;
    // -1 once such a new connection was logged: the others until the next connect are not, so that a device
    // that answers every request late adds no line per request. Cleared by Connetti.
    int16_t NewConnectionLogged = 0;
    // -1 when the last exchange took its answer whole: no late bytes can be on their way, so the next
    // request drops only what was delivered, without asking the system.
    int16_t LinkSettled = 0;
    // When the serial line last carried a byte, received (as the receive event saw it) or sent (when its
    // last byte left the wire), on the pump's clock in microseconds: the next RTU request waits for the
    // frame gap after it.
    int64_t LineActiveUs = 0;
    // Until when each slave address may still send a late answer, on the pump's clock in microseconds (a
    // time past: none is due), and the function of the request it would answer. An RTU request that got no
    // answer that checks from its address (nothing, stray bytes, garbage, another address's answer) sets
    // one more answer time-out, the one it was sent with, past the time its answer was due; a frame that
    // checks from that address with that function (or its exception) clears it. The next request to that
    // address first lets that answer come and drops it; requests to other addresses and broadcasts leave
    // it be. Cleared by Connetti.
    std::array<int64_t, 256> LateAnswerUntilUs{};
    std::array<uint8_t, 256> LateAnswerFunction{};
    // Bytes dropped (a late answer, or what the link could not keep) that no log line has told yet: a
    // request tells its own once, when it ends.
    size_t DroppedInput = 0;

    std::array<RegisterRecord, RegisterCount> Registers{};
    // Set by the register view: redraw from Registers after the names were rebuilt.
    std::function<void()> onRegisterNamesChanged;
};

// The answer time-out in whole seconds that goes with a link time-out in milliseconds: halves go to the
// even second, and it is never below one second.
inline int16_t AnswerTimeoutFor(int linkTimeoutMs) {
    int seconds = linkTimeoutMs / 1000;
    const int rest = linkTimeoutMs % 1000;
    if (rest > 500 || (rest == 500 && seconds % 2 == 1)) ++seconds;
    return static_cast<int16_t>(seconds < 1 ? 1 : seconds);
}
