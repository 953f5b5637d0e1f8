// Bit and word logic, shifts (opcode 133), Timer, Trip and Log Write.
#include <cmath>

#include "fbeditor/families.h"

namespace {

enum class Logic { Word, Not, Shift, Bit, Edge, BitSet, BitReset };

Logic logicGroup(uint8_t subop) {
    if (subop <= 2) return Logic::Word;
    if (subop == 3) return Logic::Not;
    if (subop <= 7) return Logic::Shift;
    if (subop <= 10) return Logic::Bit;
    if (subop == 13) return Logic::BitSet;
    if (subop == 14) return Logic::BitReset;
    return Logic::Edge; // POS, NEG, TOGGLE up and down
}

constexpr uint16_t SourceTypes = typeBit(KindUInt) | typeBit(KindULong) | typeBit(KindKLong);

RowSpec sourceRow(Editor& e, std::string label, uint8_t kind, uint16_t allowed = SourceTypes) {
    return registerRow(e, std::move(label), kind, allowed);
}
RowSpec maskRow(std::string label) {
    return {std::move(label), 1, false, KindKLong, typeBit(KindKLong)};
}

// A register number, or the K_Long constant itself when the row's type is K_Long.
void putSource(Encoding& enc, int slot, int row) {
    enc.put(slot, enc.value(row), enc.typeOf(row) == KindKLong ? KindKLong : KindUInt);
}

} // namespace

void setupLogic(Editor& e, int k) {
    uint8_t subop = catalogueEntry(k).SubOp;
    e.work().SubOp = subop;
    const auto [kind0, kind2, kind4] = storedKinds(e, k, KindUInt);
    const std::string source = e.uiText(69), mask = e.uiText(74);
    switch (logicGroup(subop)) {
    case Logic::Word:
        showRow(e, 0, sourceRow(e, source + " A", kind0));
        showRow(e, 2, sourceRow(e, source + " B", kind2));
        showRow(e, 5, maskRow(mask));
        break;
    case Logic::Not:
        showRow(e, 0, sourceRow(e, source + "A", kind0));
        showRow(e, 5, maskRow(mask));
        break;
    case Logic::Shift:
        showRow(e, 0, sourceRow(e, source, kind0));
        showRow(e, 2, {e.uiText(66), 1, false, KindUInt, typeBit(KindUInt)});
        break;
    case Logic::Bit:
        showRow(e, 0, sourceRow(e, source + " A", kind0));
        showRow(e, 1, maskRow(mask + " A"));
        showRow(e, 2, sourceRow(e, source + " B", kind2));
        showRow(e, 3, maskRow(mask + " B"));
        showRow(e, 5, maskRow(mask + " " + e.uiText(67)));
        break;
    case Logic::BitSet:
    case Logic::BitReset:
        showRow(e, 5, maskRow(mask));
        break;
    case Logic::Edge:
        showRow(e, 0, sourceRow(e, source, kind0, typeBit(KindUInt)));
        showRow(e, 1, maskRow(mask + " " + source));
        showRow(e, 2, sourceRow(e, e.uiText(152), kind2, typeBit(KindUInt)));
        break;
    }
    showRow(e, 4, sourceRow(e, e.uiText(67), kind4, typeBit(KindUInt) | typeBit(KindULong)));
}

void encodeLogic(Encoding& enc) {
    uint8_t subop = enc.r.SubOp;
    Logic g = logicGroup(subop);
    bool setOrReset = g == Logic::BitSet || g == Logic::BitReset;
    enc.setByte(0, g == Logic::BitSet ? 9 : g == Logic::BitReset ? 8 : subop);
    int types = enc.typeOf(0);
    if (setOrReset)
        types = 0x66;
    else if (g != Logic::Not && enc.hasType(2))
        types += 16 * enc.typeOf(2);
    enc.r.ArgBytes[1] = {static_cast<uint8_t>(types), static_cast<uint8_t>(enc.typeOf(4)), 0, 0};
    putSource(enc, 3, 0);
    if (setOrReset) {
        double fill = g == Logic::BitSet ? 65535 : 0;
        enc.put(3, fill, KindKLong);
        enc.put(4, fill, KindKLong);
        enc.put(2, enc.value(5), KindKLong);
        enc.put(5, 65535, KindKLong);
        enc.put(6, 65535, KindKLong);
    } else if (g == Logic::Shift) {
        enc.put(2, enc.value(2), KindUInt);
        enc.put(5, 0, KindUInt);
        enc.put(6, 0, KindUInt);
    } else {
        if (enc.hasType(2)) putSource(enc, 4, 2);
        bool swap = g != Logic::Bit;
        auto putMask = [&](int slot, int row) {
            swap ? enc.putSwap(slot, enc.value(row), KindKLong) : enc.put(slot, enc.value(row), KindKLong);
        };
        // The edge operations carry their one mask in all three mask slots.
        bool edge = g == Logic::Edge;
        putMask(2, edge ? 1 : 5);
        putMask(5, 1);
        putMask(6, edge ? 1 : 3);
    }
    enc.put(7, enc.value(4), KindUInt);
    enc.finish(34);
    for (int i : {0, 2, 4})
        enc.captionWithType(i);
    for (int i : {1, 3, 5})
        enc.caption(i);
    enc.summary({0, 1, 2, 3, 4, 5});
}

void setupTimer(Editor& e, int) {
    showRow(e, 0, {"Timer", 0, false, KindUInt, typeBit(KindUInt)});
    showRow(e, 1, {"mSec", 1000, false, KindUInt, typeBit(KindUInt)});
    showRow(e, 2, registerRow(e, "Reg", KindUInt, typeBit(KindUInt)));
}

void encodeTimer(Encoding& enc) {
    enc.put(0, enc.value(0), KindUInt);
    enc.put(1, std::floor(enc.value(1)), KindUInt);
    auto reg = enc.twoBytes(std::floor(enc.value(2)));
    enc.setByte(6, reg[0]);
    enc.setByte(7, reg[1]);
    enc.zero(2, 7);
    enc.finish(10);
    enc.caption(0);
    enc.caption(1);
    enc.summary({0, 1, 2});
}

void setupTrip(Editor& e, int k) {
    e.work().SubOp = 0;
    uint8_t kinds[4] = {KindInt, KindInt, KindInt, KindUInt};
    if (encodedAs(e, k)) {
        const auto& t = e.work().ArgBytes[1];
        kinds[0] = highNibble(t[1]);
        kinds[1] = lowNibble(t[0]);
        kinds[2] = highNibble(t[0]);
        kinds[3] = lowNibble(t[1]);
    }
    showRow(e, 0, {"Input", 1, true, kinds[0], NumericTypes});
    showRow(e, 1, {"MAX", 1, true, kinds[1], NumericTypes});
    showRow(e, 2, {"MIN", 1, true, kinds[2], NumericTypes});
    showRow(e, 3, sourceRow(e, e.uiText(67), kinds[3], typeBit(KindUInt) | typeBit(KindULong)));
    showRow(e, 4, maskRow(e.uiText(74)));
    showRow(e, 5, {"Timer", 0, false, KindUInt, typeBit(KindUInt)});
    showRow(e, 6, {"Timer ON", 1000, false, KindUInt, typeBit(KindUInt)});
    showRow(e, 7, {"Timer OFF", 1000, false, KindUInt, typeBit(KindUInt)});
}

void encodeTrip(Encoding& enc) {
    enc.setByte(0, 0);
    int dest = enc.hasType(3) && enc.typePosition(3) == 1 ? KindULong : KindUInt;
    enc.r.ArgBytes[1] = {static_cast<uint8_t>(enc.typePosition(1) + 16 * enc.typePosition(2)),
                         static_cast<uint8_t>(dest + 16 * enc.typePosition(0)), enc.byteForm(enc.value(5)),
                         0};
    enc.putOperand(5, 0);
    enc.putOperand(3, 1);
    enc.putOperand(4, 2);
    enc.put(7, enc.value(3), KindUInt);
    enc.put(2, enc.value(4), KindKLong);
    auto on = enc.twoBytes(enc.value(6));
    auto off = enc.twoBytes(enc.value(7));
    enc.r.ArgBytes[6] = {on[0], on[1], off[0], off[1]};
    enc.finish(34);
    for (int i : {0, 1, 2, 3})
        enc.captionWithType(i);
    for (int i : {4, 5, 6, 7})
        enc.caption(i);
    enc.summary({0, 1, 2, 3, 4, 5, 6, 7});
}

void setupLogWrite(Editor& e, int) {
    e.work().ArgBytes[0] = {0, 1, 2, 127};
}

void encodeLogWrite(Encoding& enc) {
    enc.r.ArgBytes[0] = {0, 1, 2, 3};
    enc.setByte(4, 4);
    enc.setByte(5, 127);
    enc.setByte(6, 0);
    enc.r.DataSize = 10;
}
