// Comparisons and limits, flow control (jumps, calls, loops, watchdog) and the display blocks.
#include <cmath>

#include "fbeditor/families.h"

namespace {

constexpr uint16_t LoopTypes =
    typeBit(KindUInt) | typeBit(KindInt) | typeBit(KindULong) | typeBit(KindLong) | typeBit(KindKFlt);
constexpr uint16_t UIntOnly = typeBit(KindUInt);
constexpr int ComparisonRegister = 26; // default register of the comparison inputs

RowSpec constantRow(std::string label) {
    return {std::move(label), 0, false, KindUInt, UIntOnly};
}

void targetDisplay(Encoding& enc) {
    enc.caption(4);
    enc.summary({4});
}

} // namespace

void setupCompare(Editor& e, int) {
    static constexpr const char* Captions[ArgumentRowCount] = {
        "Reg A", "Reg B", "Mask", "Dest", "And if True", "Or if True", "And if False", "Or if False"};
    for (size_t i = 0; i < ArgumentRowCount; ++i) {
        ArgumentRow& r = e.state.Rows[i];
        r.Caption = Captions[i];
        r.CaptionVisible = true;
        r.Value.setText("0");
        r.Value.Visible = true;
    }
}

void setupJump(Editor& e, int) {
    showTargetRow(e, 4, {e.uiText(76), 0, false, KindUInt, UIntOnly});
}

void setupIfBit(Editor& e, int k) {
    showRow(e, 0, registerRow(e, e.uiText(69), KindUInt, UIntOnly));
    showRow(e, 1,
            {"Bit [0\xF7"
             "15]",
             1, false, KindUInt, UIntOnly, 0, 0, 15});
    showTargetRow(e, 4, constantRow(e.uiText(77)));
    if (k == 13) showTargetRow(e, 5, constantRow(e.uiText(78)));
}

void setupDisplay(Editor& e, int k) {
    e.work().SubOp = catalogueEntry(k).SubOp;
}

void setupWatchdog(Editor& e, int) {
    showRow(e, 4, constantRow(e.uiText(68) + "(*50mS)"));
    e.state.Rows[4].Type.Visible = false;
}

void setupComparison(Editor& e, int k) {
    uint8_t subop = static_cast<uint8_t>(k - 47);
    e.work().SubOp = subop;
    const auto& t = e.work().ArgBytes[1]; // argument bytes 4 and 5
    bool stored = encodedAs(e, k);
    uint8_t kind0 = stored ? highNibble(t[0]) : KindInt, kind1 = stored ? lowNibble(t[0]) : KindInt;
    uint8_t kind3 = stored ? lowNibble(t[1]) : KindInt;
    bool limit = subop >= 6;
    if (limit) {
        // A limit reads its kinds from the type bytes, which a new rung holds as 0: uInt.
        kind0 = stored ? highNibble(t[1]) : KindUInt;
        kind1 = stored ? lowNibble(t[0]) : KindUInt;
        uint8_t kind2 = stored ? highNibble(t[0]) : KindUInt;
        showRow(e, 2, {"MIN", ComparisonRegister, true, kind2, NumericTypes});
    }
    showRow(e, 0, {limit ? "Input" : "Input A", ComparisonRegister, true, kind0, NumericTypes});
    showRow(e, 1, {limit ? "MAX" : "Input B", ComparisonRegister, true, kind1, NumericTypes});
    showRow(e, 3, registerRow(e, e.uiText(67), kind3, typeBit(KindUInt) | typeBit(KindULong)));
    showRow(e, 4, {e.uiText(74), 1, false, KindKLong, typeBit(KindKLong)});
}

void setupWhile(Editor& e, int k) {
    e.work().SubOp = catalogueEntry(k).SubOp;
    bool stored = encodedAs(e, k);
    const auto& t = e.work().ArgBytes[0];
    showRow(e, 0, registerRow(e, e.uiText(69), stored ? lowNibble(t[0]) : KindUInt, LoopTypes));
    // The limit's type comes back from its type byte like the source's.
    showRow(e, 1, {"While <=", 0, false, stored ? lowNibble(t[1]) : KindKFlt, LoopTypes});
    showTargetRow(e, 4, constantRow("Call"));
}

void encodeDisplay(Encoding& enc) {
    enc.setByte(0, enc.r.SubOp);
    enc.zero(1, 7);
    enc.finish(enc.r.SubOp == 253 ? 34 : 6);
}

void encodeCompare(Encoding& enc) {
    struct Field {
        int Row;
        bool HighFirst;
    };
    static constexpr Field Fields[8] = {{0, false}, {1, false}, {3, false}, {4, true},
                                        {5, true},  {6, true},  {7, true},  {2, true}};
    for (size_t s = 0; s < 8; ++s) {
        auto b = enc.twoBytes(enc.value(Fields[s].Row));
        enc.r.ArgBytes[s] = Fields[s].HighFirst ? std::array<uint8_t, 4>{b[1], b[0], 0, 0}
                                                : std::array<uint8_t, 4>{b[0], b[1], 0, 0};
    }
    enc.finish(34);
}

void encodeIfBit(Encoding& enc) {
    enc.put(0, enc.value(0), KindUInt);
    double bit = enc.value(1);
    // A bit number is a whole number 0..15; anything else would not fit the 16-bit mask.
    if (bit != std::floor(bit) || bit < 0 || bit > 15) throw RejectedValue{1, "a whole number from 0 to 15"};
    auto mask = enc.twoBytes(std::ldexp(1.0, static_cast<int>(bit)));
    enc.r.ArgBytes[7] = {mask[1], mask[0], 0, 0};
    enc.zero(1, 6);
    enc.finish(34);
    enc.captionWithType(0);
    for (int i : {1, 4, 5})
        enc.caption(i);
    enc.summary({0, 1, 4, 5});
}

void encodeGoto(Encoding& enc) {
    enc.zero(0, 7);
    enc.finish(6);
    targetDisplay(enc);
}

void encodeCall(Encoding& enc) {
    enc.zero(1, 7);
    enc.finish(6);
    targetDisplay(enc);
}

void encodeReturn(Encoding& enc) {
    enc.zero(0, 7);
    enc.finish(2);
}

void encodeWatchdog(Encoding& enc) {
    enc.put(0, enc.value(4), KindUInt);
    enc.zero(1, 7);
    enc.finish(6);
    targetDisplay(enc);
}

void encodeComparison(Encoding& enc) {
    uint8_t subop = enc.r.SubOp;
    enc.setByte(0, subop);
    int first = subop <= 5 ? 16 * enc.typeOf(0) + (enc.hasType(1) ? enc.typeOf(1) : 0)
                           : 16 * enc.typePosition(2) + enc.typePosition(1);
    int dest = enc.hasType(3) && enc.typePosition(3) == 1 ? KindULong : KindUInt;
    int second = 16 * enc.typePosition(0) + dest;
    enc.r.ArgBytes[1] = {static_cast<uint8_t>(first), static_cast<uint8_t>(second), 0, 0};
    // These rows list uInt..K_Flt in code order, so the K_Flt entry is the one at position 5.
    enc.putOperand(5, 0);
    enc.putOperand(3, 1);
    enc.putOperand(4, 2);
    enc.put(7, enc.value(3), KindUInt);
    enc.put(2, enc.value(4), KindKLong);
    enc.finish(34);
    for (int i : {0, 1, 2, 3, 4})
        enc.captionWithType(i);
    enc.summary({0, 1, 2, 3, 4});
}

void encodeWhile(Encoding& enc) {
    enc.put(1, enc.value(0), enc.kind(0) == KindKFlt ? KindKFlt : KindUInt);
    enc.put(2, enc.value(1), enc.kind(1) == KindKFlt ? KindKFlt : KindUInt);
    enc.r.ArgBytes[0] = {static_cast<uint8_t>(enc.typeOf(0)), static_cast<uint8_t>(enc.typeOf(1)), 0, 0};
    enc.zero(3, 6);
    enc.finish(18);
    enc.captionWithType(0);
    enc.captionWithType(1);
    enc.caption(4);
    enc.caption(5);
    enc.summary({0, 1, 4, 5});
}
