#include "program/transfer/side_area_encoders.h"

#include <algorithm>

#include "comm/byte_helpers.h"
#include "program/transfer/controller_memory_map.h"

namespace {

// A 16-bit value low byte first (IntToBytes: a value beyond 16 bits gives zero bytes).
void putWord(std::span<uint8_t> out, int64_t value) {
    auto b = IntToBytes(static_cast<int32_t>(value));
    out[0] = b[0];
    out[1] = b[1];
}

void putText(std::span<uint8_t> out, const std::string& text) {
    size_t n = std::min(out.size(), text.size());
    std::copy_n(reinterpret_cast<const uint8_t*>(text.data()), n, out.begin());
}

bool isAddress(int64_t a) { return a >= 0 && a <= 65535; }

bool isStringType(uint8_t type) { return type == 13 || type == 14; }
bool isFormattedType(uint8_t type) { return type <= 12 || type == 16 || type == 17; }

} // namespace

bool EncodeVariable(const VariableRecord& v, uint32_t stringsBase, std::span<uint8_t, 32> out) {
    std::fill(out.begin(), out.end(), uint8_t{0});
    if (isStringType(v.ValueType)) {
        // Type 14 keeps its strings in the string area: the registers are string numbers there.
        int64_t first = v.Register, second = v.AltRegister;
        if (v.ValueType == 14) {
            first = int64_t{stringsBase} + 32 * first;
            second = int64_t{stringsBase} + 32 * second;
        }
        if (!isAddress(first) || !isAddress(second)) return false;
        putWord(out.subspan(0, 2), first);
        out[2] = v.ValueType;
        putWord(out.subspan(3, 2), second);
        putWord(out.subspan(5, 2), v.TriggerRegister);
        putWord(out.subspan(7, 2), v.Mask);
    } else if (isFormattedType(v.ValueType)) {
        putWord(out.subspan(0, 2), v.Register);
        out[2] = v.ValueType;
        putText(out.subspan(3, 7), v.Format);
    }
    putText(out.subspan(10, VariableNameField), v.Name);
    return true;
}

void EncodeString(const std::string& text, std::span<uint8_t, 32> out) {
    std::fill(out.begin(), out.end(), uint8_t{0});
    putText(out, text);
}

int EncodeCsvHeader(const std::string& line, std::span<uint8_t, 512> out) {
    std::fill(out.begin(), out.end(), uint8_t{0});
    if (line.size() + 1 > out.size()) return 0;
    putText(out, line);
    // One piece more than the text needs (as the controller expects), but never past the slot.
    int pieces = static_cast<int>(line.size()) / TransferBlock + 2;
    return std::min(pieces, CsvHeaderSlot / TransferBlock);
}

void EncodeTextBlock(const std::string& text, std::span<uint8_t> out) {
    std::fill(out.begin(), out.end(), uint8_t{0});
    putText(out, text);
}
