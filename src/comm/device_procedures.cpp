#include "comm/device_procedures.h"

#include <cmath>
#include <optional>
#include <span>

#include "comm/byte_helpers.h"
#include "comm/transaction.h"
#include "core/app_context.h"
#include "core/value_type_codes.h"

namespace {

constexpr int32_t Max16 = 65535;
constexpr int32_t Max24 = 0xFFFFFF;
constexpr uint8_t ReadInputRegisters = 4;
constexpr uint8_t WriteSingleRegister = 6;
constexpr uint8_t WriteMultipleRegisters = 16;
constexpr size_t MaxStringLength = 99; // the 101-byte buffer holds 99 characters and the terminator

void logError(AppContext& app) {
    app.shell.log.LogStart();
    app.shell.log.LogWrite("Error");
}

// A 16-bit field as sent: negative values count from 65536 (a register -1 is register 65535).
// Anything outside -32768..65535 does not fit and is refused rather than cut.
std::optional<std::array<uint8_t, 2>> field16(int64_t value) {
    if (value < -32768 || value > Max16) return std::nullopt;
    const auto b = IntToBytes(static_cast<int32_t>(value));
    return std::array<uint8_t, 2>{b[1], b[0]};
}

// Runs one transaction over the request bytes with message boxes on.
bool transact(AppContext& app, std::span<const uint8_t> request) {
    CommState& comm = app.comm;
    std::copy(request.begin(), request.end(), comm.TxBuffer.begin());
    comm.TxLength = static_cast<int>(request.size());
    return TrasmettiRicevi(app, -1) == ComOk;
}

// A read answer holds the count of data bytes the request asked for, and all of them arrived.
bool answerHolds(const CommState& comm, int count) {
    return comm.RxLength >= 3 + count && comm.RxBuffer[2] == count;
}

RegisterRecord* cacheEntry(CommState& comm, int32_t reg) {
    return reg >= 0 && reg < RegisterCount ? &comm.Registers[static_cast<size_t>(reg)] : nullptr;
}

// A written word as the cache of its register keeps it: a signed 16-bit number.
void cacheWord(CommState& comm, int32_t reg, std::array<uint8_t, 2> word) {
    if (RegisterRecord* entry = cacheEntry(comm, reg)) entry->Value = BytesToInt(word[0], word[1], true);
}

// Once both words of a 32-bit value went, a register of a 32-bit type holds the pair it starts, as the
// register views read it back (low word in it); the others keep their word.
void cachePair(CommState& comm, int32_t reg, int64_t pair) {
    if (RegisterRecord* entry = cacheEntry(comm, reg); entry && isPairType(entry->ValueType))
        entry->Value = static_cast<int32_t>(static_cast<uint32_t>(pair));
}

// Memory block bounds: the device address fits its field, the block fits MemoryImage.
bool blockFits(int32_t address, int32_t maxAddress, int32_t start, uint8_t count) {
    return address >= 0 && address <= maxAddress && start >= 0 && start + count <= MemoryImageSize;
}

bool readBlock(AppContext& app, const std::array<uint8_t, 7>& request, int32_t start, uint8_t count) {
    CommState& comm = app.comm;
    app.pump.processEvents();
    comm.MonitorOn = 0;
    if (!transact(app, request) || !answerHolds(comm, count)) {
        logError(app);
        return false;
    }
    std::copy_n(comm.RxBuffer.begin() + 3, count, app.project.MemoryImage.begin() + start);
    comm.MonitorOn = 0;
    return true;
}

// Writes one holding register of the current node.
bool writeRegister(AppContext& app, uint8_t slave, int32_t reg, std::array<uint8_t, 2> value) {
    const auto r = field16(reg);
    if (!r) return false;
    const std::array<uint8_t, 6> request{slave, WriteSingleRegister, (*r)[0], (*r)[1], value[0], value[1]};
    return transact(app, request);
}

} // namespace

bool ScriviComando(AppContext& app, uint8_t code) {
    app.pump.processEvents();
    DeviceRecord& device = app.comm.CurrentDevice;
    const bool ok = writeRegister(app, device.NodeAddress, CommandRegister, {0, code});
    if (ok)
        device.RunState = code;
    else
        logError(app);
    app.shell.status.AggiornaStato();
    return ok;
}

bool ImpostaModoDebug(AppContext& app, bool debug) {
    app.pump.processEvents();
    const std::array<uint8_t, 8> request{
        app.comm.CurrentDevice.NodeAddress, MemoryAccessFunction, WriteMemory, 0, 0, ModeByteAddress, 1,
        debug ? ModeDebug : ModeRelease};
    if (transact(app, request)) return true;
    logError(app);
    return false;
}

bool ScriviMemoria(AppContext& app, uint8_t slave, int32_t address, int32_t start, uint8_t count) {
    app.pump.processEvents();
    CommState& comm = app.comm;
    if (!blockFits(address, Max16, start, count)) {
        logError(app);
        return false;
    }
    comm.MonitorOn = 0;
    const std::array<uint8_t, 7> header{slave,
                                        MemoryAccessFunction,
                                        WriteMemory,
                                        0,
                                        static_cast<uint8_t>(address >> 8),
                                        static_cast<uint8_t>(address),
                                        count};
    std::copy(header.begin(), header.end(), comm.TxBuffer.begin());
    std::copy_n(app.project.MemoryImage.begin() + start, count, comm.TxBuffer.begin() + header.size());
    comm.TxLength = static_cast<int>(header.size()) + count;
    if (TrasmettiRicevi(app, -1) != ComOk) {
        logError(app);
        return false;
    }
    comm.MonitorOn = 0;
    return true;
}

bool LeggiMemoria(AppContext& app, uint8_t slave, int32_t address, int32_t start, uint8_t count) {
    if (!blockFits(address, Max16, start, count)) {
        logError(app);
        return false;
    }
    return readBlock(app,
                     {slave, MemoryAccessFunction, ReadMemory, 0, static_cast<uint8_t>(address >> 8),
                      static_cast<uint8_t>(address), count},
                     start, count);
}

bool LeggiFlash(AppContext& app, uint8_t slave, int32_t address, int32_t start, uint8_t count) {
    if (!blockFits(address, Max24, start, count)) {
        logError(app);
        return false;
    }
    return readBlock(app,
                     {slave, MemoryAccessFunction, ReadMemoryLong, static_cast<uint8_t>(address >> 16),
                      static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address), count},
                     start, count);
}

bool LeggiStatoPLC(AppContext& app) {
    app.pump.processEvents();
    CommState& comm = app.comm;
    DeviceRecord& device = comm.CurrentDevice;
    const std::array<uint8_t, 7> request{
        device.NodeAddress, MemoryAccessFunction, ReadMemory, 0, 0, ModeByteAddress, 1};
    bool debug = false;
    device.ModeUnread = !(transact(app, request) && answerHolds(comm, 1));
    if (!device.ModeUnread) {
        const uint8_t mode = comm.RxBuffer[3];
        if (mode == ModeDebug || mode == ModeRelease) {
            debug = mode == ModeDebug;
            device.DebugMode = debug ? -1 : 0;
            app.shell.status.AbilitaPulsanti("Puls_Download", debug);
            app.shell.status.AbilitaPulsanti("Puls_Debug", debug);
        }
        device.RunState = AttendiStato(app);
    } else {
        // The mode is unknown now: nothing may go on claiming debug mode or offer the download.
        logError(app);
        device.DebugMode = 0;
        app.shell.status.AbilitaPulsanti("Puls_Download", false);
        app.shell.status.AbilitaPulsanti("Puls_Debug", false);
    }
    app.shell.status.AggiornaStato();
    return debug;
}

uint8_t AttendiStato(AppContext& app) {
    app.pump.processEvents();
    const double status = LeggiRegistro(app, app.comm.CurrentDevice.NodeAddress, 0);
    if (status > 255) {
        logError(app);
        return 0;
    }
    return static_cast<uint8_t>(status);
}

double LeggiRegistro(AppContext& app, uint8_t slave, int16_t reg) {
    const auto r = field16(reg);
    const std::array<uint8_t, 6> request{slave, ReadInputRegisters, (*r)[0], (*r)[1], 0, 1};
    CommState& comm = app.comm;
    if (!transact(app, request) || !answerHolds(comm, 2)) {
        logError(app);
        return 0;
    }
    return comm.RxBuffer[3] * 256.0 + comm.RxBuffer[4];
}

bool ScriviRegistro(AppContext& app, uint8_t slave, int16_t reg, double& value) {
    // Halves go to the even neighbour (the default rounding mode).
    value = std::nearbyint(value);
    const auto v = std::isfinite(value) ? field16(static_cast<int64_t>(value)) : std::nullopt;
    if (!v || !writeRegister(app, slave, reg, *v)) {
        logError(app);
        return false;
    }
    if (slave == app.comm.CurrentDevice.NodeAddress)
        if (RegisterRecord* entry = cacheEntry(app.comm, reg)) entry->Value = static_cast<int32_t>(value);
    return true;
}

bool ScriviLong(AppContext& app, double value, bool isSigned, int16_t reg) {
    CommState& comm = app.comm;
    const double rounded = std::nearbyint(value);
    const bool fits = std::isfinite(rounded) && rounded >= (isSigned ? -2147483648.0 : 0.0) &&
                      rounded <= (isSigned ? 2147483647.0 : 4294967295.0);
    const auto r = field16(reg);
    if (!fits) {
        logError(app);
        return false;
    }
    // Low word into the first register, as the float write puts it and every register view reads a pair.
    const auto u = static_cast<uint32_t>(static_cast<int64_t>(rounded));
    const std::array<std::array<uint8_t, 2>, 2> words{
        {{uint8_t(u >> 8), uint8_t(u)}, {uint8_t(u >> 24), uint8_t(u >> 16)}}};
    const std::array<uint8_t, 11> request{comm.CurrentDevice.NodeAddress,
                                          WriteMultipleRegisters,
                                          (*r)[0],
                                          (*r)[1],
                                          0,
                                          2,
                                          4,
                                          words[0][0],
                                          words[0][1],
                                          words[1][0],
                                          words[1][1]};
    if (!transact(app, request)) {
        logError(app);
        return false;
    }
    const int32_t first = reg < 0 ? reg + 65536 : reg;
    cacheWord(comm, first, words[0]);
    cacheWord(comm, first + 1, words[1]);
    cachePair(comm, first, u);
    return true;
}

bool ScriviStringa(AppContext& app, const std::string& text, int16_t reg) {
    CommState& comm = app.comm;
    if (text.size() > MaxStringLength) {
        logError(app);
        return false;
    }
    // The text and one or two zero bytes: a whole number of registers with at least one terminator.
    size_t n = text.size() + 1;
    if (n % 2) ++n;
    const auto r = field16(reg);
    const std::array<uint8_t, 7> header{
        comm.CurrentDevice.NodeAddress, WriteMultipleRegisters, (*r)[0], (*r)[1], 0,
        static_cast<uint8_t>(n / 2),    static_cast<uint8_t>(n)};
    std::copy(header.begin(), header.end(), comm.TxBuffer.begin());
    std::fill_n(comm.TxBuffer.begin() + header.size(), n, 0);
    std::copy(text.begin(), text.end(), comm.TxBuffer.begin() + header.size());
    comm.TxLength = static_cast<int>(header.size() + n);
    if (TrasmettiRicevi(app, -1) != ComOk) {
        logError(app);
        return false;
    }
    for (size_t i = 0; i < n / 2; ++i)
        if (RegisterRecord* entry = cacheEntry(comm, reg + static_cast<int32_t>(i)))
            entry->ValueType = KindStringRam;
    return true;
}

bool ScriviFloat(AppContext& app, double value, int16_t reg) {
    CommState& comm = app.comm;
    const auto b = FloatToBytes(value);
    // Low word into the register, high word into the next one; a failed first write ends the procedure,
    // so a half-written value is never completed with a stale word.
    const int32_t first = reg < 0 ? reg + 65536 : reg;
    const std::array<std::array<uint8_t, 2>, 2> words{{{b[2], b[3]}, {b[0], b[1]}}};
    for (int32_t i = 0; i < 2; ++i) {
        if (!writeRegister(app, comm.CurrentDevice.NodeAddress, first + i, words[static_cast<size_t>(i)])) {
            logError(app);
            return false;
        }
        cacheWord(comm, first + i, words[static_cast<size_t>(i)]);
    }
    cachePair(comm, first, BytesToLong(b[0], b[1], b[2], b[3], false));
    return true;
}
