#pragma once
// The per-family halves of the editor: set-ups (by catalogue index) and encodings (by type and opcode).
#include <array>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>

#include "fbeditor/editor.h"

// Offered value types as a bit set by code.
constexpr uint16_t typeBit(int k) {
    return static_cast<uint16_t>(1u << k);
}
constexpr uint16_t RegisterTypes = 0x1F;                // uInt, Int, uLong, Long, Float
constexpr uint16_t NumericTypes = RegisterTypes | 0x20; // ... and K_Flt

// One argument row as a set-up fills it.
struct RowSpec {
    std::string Label;
    double Value = 0;
    bool IsRegister = false;
    uint8_t Kind = 0;
    uint16_t Allowed = 0;
    uint16_t Pointers = 0;
    // What the controller can hold in a constant row.
    double Min = -std::numeric_limits<double>::infinity();
    double Max = std::numeric_limits<double>::infinity();
};

// Fills descriptor i from its row description and shows the row.
void showRow(Editor& e, int i, const RowSpec& s);
// A register row: the first user register of the model by default.
RowSpec registerRow(Editor& e, std::string label, uint8_t kind, uint16_t allowed, uint16_t pointers = 0);
// Shows row i as a jump or call target: no type box, the section's labels in its list.
void showTargetRow(Editor& e, int i, const RowSpec& s);
// Whether the bound rung was encoded as a function of the same type and opcode as catalogue entry k,
// so that the value types stored in its bytes belong to this function's rows.
bool encodedAs(Editor& e, int k);
// The kinds of an operation's first, second and destination rows as the bound rung keeps them (low and
// high nibble of type byte 0, low nibble of type byte 1); `fallback` for each unless encodedAs(e, k).
std::array<uint8_t, 3> storedKinds(Editor& e, int k, uint8_t fallback);
inline uint8_t lowNibble(uint8_t b) {
    return b & 0x0F;
}
inline uint8_t highNibble(uint8_t b) {
    return b >> 4;
}

// What an encoding works with: the editor, the record being written and its program view row.
class Encoding {
  public:
    Encoding(Editor& e, CommandRecord& r, RungRow& row) : e(e), r(r), row(row) {}
    Editor& e;
    CommandRecord& r;
    RungRow& row;

    // Row i's value; the row read last is the one a value the slots cannot hold is refused for.
    double value(int i) const;
    const std::string& text(int i) const;
    bool hasType(int i) const;
    int typeOf(int i) const;       // item data of the selected type entry, 0 when none
    int typePosition(int i) const; // position of the selected type entry, 0 when none
    uint8_t kind(int i) const;

    void put(int slot, double v, uint8_t kind);     // Trasf
    void putSwap(int slot, double v, uint8_t kind); // TrasfSwap
    // A register number, or the K_Flt constant itself when the row's type is K_Flt.
    void putOperand(int slot, int row);
    void zero(int from, int to); // slots from..to as uInt 0
    uint8_t byteForm(double v) const;
    std::array<uint8_t, 2> twoBytes(double v) const; // IntToBytes: low, high
    void setByte(int n, uint8_t b) { r.ArgBytes[static_cast<size_t>(n / 4)][static_cast<size_t>(n % 4)] = b; }
    uint8_t byte(int n) const { return r.ArgBytes[static_cast<size_t>(n / 4)][static_cast<size_t>(n % 4)]; }

    void caption(int i);
    void captionWithType(int i);
    void summary(std::initializer_list<int> rows);
    void finish(uint16_t dataSize) {
        r.Delay = 0;
        r.DataSize = dataSize;
    }

  private:
    // The refusal of a value outside `range`, for the row read last.
    RejectedValue refused(std::string range) const { return {lastRow_, std::move(range)}; }
    mutable int lastRow_ = -1;
};

using SetupFn = void (*)(Editor&, int index);
using EncodeFn = void (*)(Encoding&);

// Communication blocks.
void setupPlainRead(Editor&, int);
void setupPlainWrite(Editor&, int);
void setupDevice(Editor&, int);
void setupReadWrite(Editor&, int);
void setupPointerRead(Editor&, int);
void deviceRowClick(Editor&);
void encodeWrite(Encoding&);
void encodeRead(Encoding&);
void encodePointerRead(Encoding&);
// Arithmetic, scale, PID, block move.
void setupArithmetic(Editor&, int);
void setupScale(Editor&, int);
void setupPid(Editor&, int);
void setupBlockMove(Editor&, int);
void encodeArithmetic(Encoding&);
void encodeScale(Encoding&);
void encodePid(Encoding&);
void encodeBlockMove(Encoding&);
// Bit and word logic, timer, trip, log write.
void setupLogic(Editor&, int);
void setupTimer(Editor&, int);
void setupTrip(Editor&, int);
void setupLogWrite(Editor&, int);
void encodeLogic(Encoding&);
void encodeTimer(Encoding&);
void encodeTrip(Encoding&);
void encodeLogWrite(Encoding&);
// Comparisons, flow control, display.
void setupCompare(Editor&, int);
void setupJump(Editor&, int);
void setupIfBit(Editor&, int);
void setupDisplay(Editor&, int);
void setupWatchdog(Editor&, int);
void setupComparison(Editor&, int);
void setupWhile(Editor&, int);
void encodeDisplay(Encoding&);
void encodeCompare(Encoding&);
void encodeIfBit(Encoding&);
void encodeGoto(Encoding&);
void encodeCall(Encoding&);
void encodeReturn(Encoding&);
void encodeWatchdog(Encoding&);
void encodeComparison(Encoding&);
void encodeWhile(Encoding&);

// The set-up of catalogue index k, nullptr when the function has no rows of its own.
SetupFn setupFor(int k);
// The encoding of a function type and opcode, nullptr when the common steps are all.
EncodeFn encoderFor(int type, int opcode);
