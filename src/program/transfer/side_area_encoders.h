#pragma once
// Byte encodings of the side areas (variables, strings, CSV headers, text blocks) as the controller
// reads them. Each encoder zero-fills its whole range first, so no earlier bytes survive in it.
#include <cstdint>
#include <span>
#include <string>

#include "core/project_data.h"

// Encodes one variable into the 32 bytes written from its slot start. False when a string-type
// variable's address does not fit 16 bits (nothing meaningful could be sent for it).
bool EncodeVariable(const VariableRecord& v, uint32_t stringsBase, std::span<uint8_t, 32> out);

// The string's text, NUL-padded, cut at 32 characters.
void EncodeString(const std::string& text, std::span<uint8_t, 32> out);

// The CSV header line and its NUL inside one 512-byte slot. Returns the number of 32-byte pieces
// to send from the slot start, never past the slot; 0 when the line and its NUL do not fit.
int EncodeCsvHeader(const std::string& line, std::span<uint8_t, 512> out);

// The block's text from the block start, cut at the block, the rest zero.
void EncodeTextBlock(const std::string& text, std::span<uint8_t> out);
