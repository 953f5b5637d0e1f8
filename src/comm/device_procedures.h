#pragma once
// One device operation per procedure: each builds one request in TxBuffer, runs one transaction with
// message boxes on and logs "Error" (after the date-and-time line) when it fails. Nothing is retried.
// Values that do not fit their field are refused before anything is sent, like a failed transaction.
#include <cstdint>
#include <string>

struct AppContext;

// Memory access function (Modbus function 20) and its sub-commands.
constexpr uint8_t MemoryAccessFunction = 20;
constexpr uint8_t ReadImage = 1;
constexpr uint8_t ReadMemory = 2;
constexpr uint8_t WriteMemory = 4;
constexpr uint8_t ReadMemoryLong = 5;

// Command register (holding register 0) codes.
constexpr uint8_t CommandRegister = 0;
constexpr uint8_t CmdRun = 0xFF;
constexpr uint8_t CmdRunToBreak = 0x5A;
constexpr uint8_t CmdHalt = 0x64;
constexpr uint8_t CmdStop = 0xFC;

// Mode byte: controller memory address 19.
constexpr uint16_t ModeByteAddress = 19;
constexpr uint8_t ModeDebug = 0x56;
constexpr uint8_t ModeRelease = 0x55;

// Writes code to the command register; RunState := code on success; AggiornaStato either way.
bool ScriviComando(AppContext& app, uint8_t code);
// Writes the mode byte: 0x56 for debug mode, 0x55 for release mode.
bool ImpostaModoDebug(AppContext& app, bool debug);
// MemoryImage[start .. start+count-1] to device memory at address (WriteMemory).
bool ScriviMemoria(AppContext& app, uint8_t slave, int32_t address, int32_t start, uint8_t count);
// Device memory at address to MemoryImage[start ..] (ReadMemory), only after a checked answer.
bool LeggiMemoria(AppContext& app, uint8_t slave, int32_t address, int32_t start, uint8_t count);
// As LeggiMemoria over a 24-bit Flash address (ReadMemoryLong).
bool LeggiFlash(AppContext& app, uint8_t slave, int32_t address, int32_t start, uint8_t count);
// Reads the mode byte: True in debug mode; sets DebugMode and the button groups, reads RunState.
bool LeggiStatoPLC(AppContext& app);
// Input register 0 (run status) of the current node as a byte; 0 after an error.
uint8_t AttendiStato(AppContext& app);
// One input register (function 4), 0..65535; 0 after an error.
double LeggiRegistro(AppContext& app, uint8_t slave, int16_t reg);
// One holding register (function 6); value is rounded half to even and the rounded value stored back.
bool ScriviRegistro(AppContext& app, uint8_t slave, int16_t reg, double& value);
// Two registers (function 16): the low word in reg, the high word in reg + 1, each high byte first.
bool ScriviLong(AppContext& app, double value, bool isSigned, int16_t reg);
// The text plus one or two zero bytes (function 16); texts of 100 characters or more are refused.
bool ScriviStringa(AppContext& app, const std::string& text, int16_t reg);
// IEEE single: low word to reg, then high word to reg + 1 (two function 6 requests).
bool ScriviFloat(AppContext& app, double value, int16_t reg);
