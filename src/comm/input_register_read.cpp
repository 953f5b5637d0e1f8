#include "comm/input_register_read.h"

#include "core/app_context.h"
#include "comm/transaction.h"

namespace {

constexpr uint8_t ReadInputRegisters = 4;
constexpr uint8_t ExceptionFlag = 0x80; // set in the function code of an exception answer

std::nullopt_t logError(AppContext& app) {
    app.shell.log.LogStart();
    app.shell.log.LogWrite("Error");
    return std::nullopt;
}

// One function-4 request; with refused, an exception answer is told apart from the other failures.
std::optional<std::vector<uint16_t>> readBlock(AppContext& app, uint8_t slave, int first, int count,
                                               int16_t showMessages, bool* refused) {
    if (count < 1 || count > MaxInputRegisterBlock || first < 0 || first + count > 65536)
        return logError(app);
    CommState& comm = app.comm;
    comm.TxBuffer[0] = slave;
    comm.TxBuffer[1] = ReadInputRegisters;
    comm.TxBuffer[2] = static_cast<uint8_t>(first >> 8);
    comm.TxBuffer[3] = static_cast<uint8_t>(first & 0xFF);
    comm.TxBuffer[4] = 0;
    comm.TxBuffer[5] = static_cast<uint8_t>(count);
    comm.TxLength = 6;
    const int16_t pollStop = comm.PollStop;
    const uint8_t result = TrasmettiRicevi(app, showMessages);
    if (refused && result == ComWrongAnswer && comm.RxLength >= 3 && comm.RxBuffer[0] == slave &&
        comm.RxBuffer[1] == (ReadInputRegisters | ExceptionFlag)) {
        *refused = true;
        comm.PollStop = pollStop; // the device answered: the loops go on
        return std::nullopt;
    }
    if (result != ComOk) return logError(app);
    const int bytes = 2 * count;
    if (comm.RxBuffer[2] != bytes || comm.RxLength < 3 + bytes) return logError(app);
    std::vector<uint16_t> values(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        values[static_cast<size_t>(i)] =
            static_cast<uint16_t>(comm.RxBuffer[static_cast<size_t>(3 + 2 * i)] * 256 +
                                  comm.RxBuffer[static_cast<size_t>(4 + 2 * i)]);
    return values;
}

} // namespace

std::optional<std::vector<uint16_t>> LeggiRegistriInput(AppContext& app, uint8_t slave, int first,
                                                        int count) {
    return readBlock(app, slave, first, count, -1, nullptr);
}

std::optional<std::vector<uint16_t>> LeggiRegistriInputOrRefusal(AppContext& app, uint8_t slave, int first,
                                                                 int count, bool& refused) {
    refused = false;
    return readBlock(app, slave, first, count, 0, &refused);
}
