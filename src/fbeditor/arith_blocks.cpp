// Arithmetic and move operations (opcode 1), Scale, PID and Block Move.
#include <algorithm>

#include "fbeditor/families.h"

namespace {

enum ArithSubop : uint8_t {
    Add = 0,
    Sub = 1,
    Mult = 2,
    Div = 3,
    Move = 4,
    Average = 5,
    Power = 6,
    Sqrt = 7,
    Linearization = 8,
    Abs = 9,
    Exp = 10,
    Min = 11,
    Max = 12
};

bool twoOperands(uint8_t s) {
    return s <= Div || s == Power;
}
bool sampleCount(uint8_t s) {
    return s == Average || s == Min || s == Max;
}

// Register rows of opcode 1 offer the pointer forms on models that allow them.
uint16_t pointerForms(Editor& e) {
    return e.model().EditorFeatureA ? RegisterTypes : 0;
}

void setKind(Encoding& enc, int row, int kind) {
    enc.e.Args[static_cast<size_t>(row)].Kind = static_cast<uint8_t>(kind);
}

// Kinds of Scale and PID rows 0, 4, 1, 2, 5, 6 as their type nibbles hold them, or the defaults.
std::array<uint8_t, 8> scaleKinds(Editor& e, int k) {
    std::array<uint8_t, 8> kinds{KindInt, KindKFlt, KindKFlt, 0, KindInt, KindKFlt, KindKFlt, 0};
    if (!encodedAs(e, k)) return kinds;
    const auto& t = e.work().ArgBytes[1];
    kinds[0] = lowNibble(t[0]);
    kinds[4] = highNibble(t[0]);
    kinds[1] = lowNibble(t[1]);
    kinds[2] = highNibble(t[1]);
    kinds[5] = lowNibble(t[2]);
    kinds[6] = highNibble(t[2]);
    return kinds;
}

struct ScaleRow {
    int Row;
    const char* Label; // nullptr: the interface text
    int Text;
    double Value; // < 0: the first user register
    bool Constant;
};

void setupScaleRows(Editor& e, int k, std::initializer_list<ScaleRow> rows) {
    auto kinds = scaleKinds(e, k);
    for (const ScaleRow& r : rows) {
        std::string label = r.Label ? std::string(r.Label) : e.uiText(r.Text);
        double value = r.Value < 0 ? e.model().FirstUserRegister : r.Value;
        showRow(e, r.Row,
                {label, value, true, kinds[static_cast<size_t>(r.Row)],
                 r.Constant ? NumericTypes : RegisterTypes});
    }
}

// Scale and PID share their layout; PID has no row 6 and a fixed first byte.
void encodeScaleLayout(Encoding& enc, bool pid) {
    enc.setByte(0, pid ? 0 : enc.r.SubOp);
    int t[8]{};
    for (int i : {0, 1, 2, 4, 5, 6}) {
        t[i] = enc.typeOf(i);
        setKind(enc, i, t[i]);
    }
    enc.r.ArgBytes[1] = {static_cast<uint8_t>(t[0] + 16 * t[4]), static_cast<uint8_t>(t[1] + 16 * t[2]),
                         static_cast<uint8_t>(t[5] + (pid ? 0 : 16 * t[6])), 0};
    enc.put(2, enc.value(0), KindUInt);
    enc.putOperand(3, 1);
    enc.putOperand(4, 2);
    enc.putOperand(5, 5);
    if (!pid) enc.putOperand(6, 6);
    enc.put(7, enc.value(4), KindUInt);
    enc.finish(34);
    for (int i : {0, 1, 2, 4, 5, 6})
        enc.captionWithType(i);
    enc.summary({0, 1, 2, 4, 5, 6});
}

} // namespace

void setupArithmetic(Editor& e, int k) {
    uint8_t subop = catalogueEntry(k).SubOp;
    e.work().SubOp = subop;
    e.Args[3].Value = 1;
    const auto [kind0, kind1, kind4] = storedKinds(e, k, KindInt);
    bool blockCapable = e.model().EditorFeatureB != 0;
    showRow(e, 0, registerRow(e, e.uiText(69) + " A", kind0, NumericTypes, pointerForms(e)));
    if (twoOperands(subop)) {
        showRow(e, 1, registerRow(e, e.uiText(69) + " B", kind1, NumericTypes, pointerForms(e)));
        if (blockCapable) showRow(e, 3, {e.uiText(76), 1, false, KindKFlt, typeBit(KindKFlt)});
    } else if (sampleCount(subop)) {
        showRow(e, 1, {e.uiText(66), 2, false, KindKFlt, typeBit(KindKFlt)});
    } else if (subop == Linearization) {
        showRow(e, 1, {e.uiText(75), 0, false, 0, typeBit(KindTable)});
        e.state.Rows[1].SetVisible = true;
        e.state.Rows[1].Value.Locked = true;
    }
    if (subop == Move && blockCapable)
        showRow(e, 5, {e.uiText(66), 1, false, KindUInt, typeBit(KindUInt)});
    else
        e.Args[5].Value = 1;
    showRow(e, 4, registerRow(e, e.uiText(67), kind4, RegisterTypes, pointerForms(e)));
}

void encodeArithmetic(Encoding& enc) {
    uint8_t subop = enc.r.SubOp;
    enc.setByte(0, subop);
    int b = enc.typeOf(0);
    if (enc.hasType(1)) b += subop == Linearization ? 80 : 16 * enc.typeOf(1);
    enc.r.ArgBytes[1] = {static_cast<uint8_t>(b), static_cast<uint8_t>(enc.typeOf(4)), 0, 0};
    setKind(enc, 0, enc.typeOf(0));
    enc.putOperand(3, 0);
    enc.setByte(20, 1);
    if (twoOperands(subop)) {
        setKind(enc, 1, enc.typeOf(1));
        enc.putOperand(4, 1);
        enc.setByte(20, enc.byteForm(enc.value(3)));
    } else if (sampleCount(subop)) {
        enc.put(4, enc.value(1), KindKFlt);
        enc.setByte(20, enc.byteForm(enc.value(1)));
    } else if (subop == Linearization) {
        setKind(enc, 1, KindKFlt);
        const ComboBox& tables = enc.e.state.Rows[1].Value;
        const LookupTableArray& all = enc.e.context().project.Tables;
        // A Linearization needs one of the defined tables.
        if (!tables.hasSelection()) throw RejectedValue{1, "one of the defined tables"};
        int t = tables.selectedData();
        if (t < 0 || t >= all.Count || t >= MaxLookupTables)
            throw RejectedValue{1, "one of the defined tables"};
        // The controller looks an input up between neighbouring points: the inputs must ascend.
        const LookupTable& table = all.Tables[static_cast<size_t>(t)];
        if (int point = firstPointNotAscending(table))
            throw RejectedValue{1,
                                "a table whose inputs ascend (point " + std::to_string(point) + " does not)"};
        enc.setByte(20, all.Tables[static_cast<size_t>(t)].PointCount);
        enc.put(2, t, KindUInt);
    }
    setKind(enc, 4, enc.typeOf(4));
    enc.put(7, enc.value(4), KindUInt);
    double count = enc.value(5) == 0 ? 1 : enc.value(5);
    enc.setByte(21, enc.byteForm(count));
    enc.finish(34);
    for (int i : {0, 1, 4})
        enc.captionWithType(i);
    enc.summary({0, 1, 4});
}

void setupScale(Editor& e, int k) {
    setupScaleRows(e, k,
                   {{0, nullptr, 69, -1, false},
                    {1, "Span In", 0, 1, true},
                    {2, "Zero In", 0, 0, true},
                    {4, nullptr, 67, -1, false},
                    {5, "Span Out", 0, 1, true},
                    {6, "Zero Out", 0, 0, true}});
}

void setupPid(Editor& e, int k) {
    setupScaleRows(e, k,
                   {{0, nullptr, 69, -1, false},
                    {1, "Kp", 0, 1, true},
                    {2, "Kd", 0, 0, true},
                    {4, nullptr, 67, -1, false},
                    {5, "Ki", 0, 1, true}});
}

void encodeScale(Encoding& enc) {
    encodeScaleLayout(enc, false);
}
void encodePid(Encoding& enc) {
    encodeScaleLayout(enc, true);
}

void setupBlockMove(Editor& e, int k) {
    uint8_t kind0 = KindUInt, kind4 = KindDirect;
    if (encodedAs(e, k)) {
        const auto& t = e.work().ArgBytes[1];
        kind0 = lowNibble(t[1]);
        kind4 = t[2] == 1 ? KindSwap : KindDirect;
    }
    showRow(e, 0, registerRow(e, e.uiText(69), kind0, typeBit(KindUInt) | typeBit(KindULong)));
    showRow(e, 1, {e.uiText(66), 1, false, KindUInt, typeBit(KindUInt)});
    showRow(e, 4, registerRow(e, e.uiText(67), kind4, typeBit(KindDirect) | typeBit(KindSwap)));
}

void encodeBlockMove(Encoding& enc) {
    auto source = enc.twoBytes(enc.value(0));
    auto dest = enc.twoBytes(enc.value(4));
    enc.r.ArgBytes[0] = {source[0], source[1], dest[0], dest[1]};
    enc.setByte(4, enc.byteForm(enc.value(1)));
    enc.setByte(5, enc.kind(0));
    if (enc.kind(4) == KindDirect) enc.setByte(6, 0);
    if (enc.kind(4) == KindSwap) enc.setByte(6, 1);
    enc.finish(10);
    for (int i : {0, 1, 4})
        enc.captionWithType(i);
    enc.summary({0, 1, 4});
}
