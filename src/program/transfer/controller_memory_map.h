#pragma once
// Where project data lives in controller memory beyond what the model row gives.
#include <cstdint>

// Every memory transfer moves blocks of this many bytes (function 20).
constexpr int TransferBlock = 32;

// CSV header lines of logger tasks 1..8: one 512-byte slot each, at a fixed address on every model.
constexpr int CsvHeadersBase = 40448;
constexpr int CsvHeaderSlot = 512;
constexpr int CsvHeaderTasks = 8;

// Bytes built per variable, and bytes always written from each slot start.
constexpr int VariableEncodingSize = 26;
constexpr int VariableWriteSize = 32;
// The name field of a variable's encoding: a longer name would be cut.
constexpr int VariableNameField = 16;

constexpr int StringSlot = 32;
