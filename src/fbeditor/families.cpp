// Helpers shared by the family set-ups and encodings, and the two dispatch tables.
#include "fbeditor/families.h"

namespace {

const ArgumentRow& editorRow(const Editor& e, int i) {
    return e.state.Rows[static_cast<size_t>(i)];
}

} // namespace

void showRow(Editor& e, int i, const RowSpec& s) {
    if (!isArgumentRow(i)) return;
    ArgumentDescriptor& d = e.Args[static_cast<size_t>(i)];
    d.Label = s.Label;
    d.Value = s.Value;
    d.IsRegister = s.IsRegister ? -1 : 0;
    d.Kind = s.Kind;
    d.Min = s.Min;
    d.Max = s.Max;
    for (int k = 0; k < EditorValueTypeCount; ++k) {
        d.AllowedValueTypes[static_cast<size_t>(k)] = (s.Allowed & typeBit(k)) ? -1 : 0;
        d.AllowedPointerTypes[static_cast<size_t>(k)] = (s.Pointers & typeBit(k)) ? -1 : 0;
    }
    e.ShowArg(i);
}

RowSpec registerRow(Editor& e, std::string label, uint8_t kind, uint16_t allowed, uint16_t pointers) {
    return {std::move(label), static_cast<double>(e.model().FirstUserRegister), true, kind, allowed,
            pointers};
}

void showTargetRow(Editor& e, int i, const RowSpec& s) {
    showRow(e, i, s);
    if (!isArgumentRow(i)) return;
    e.state.Rows[static_cast<size_t>(i)].Type.Visible = false;
    e.state.Rows[static_cast<size_t>(i)].TargetRow = true;
    e.ElencoEtichette(i);
}

bool encodedAs(Editor& e, int k) {
    const CommandRecord& r = e.work();
    const CatalogueEntry& c = catalogueEntry(k);
    return r.EncodedFlag == -1 && r.FunctionType == c.Type && r.Opcode == c.Opcode;
}

std::array<uint8_t, 3> storedKinds(Editor& e, int k, uint8_t fallback) {
    if (!encodedAs(e, k)) return {fallback, fallback, fallback};
    const auto& t = e.work().ArgBytes[1];
    return {lowNibble(t[0]), highNibble(t[0]), lowNibble(t[1])};
}

double Encoding::value(int i) const {
    if (!isArgumentRow(i)) return 0;
    lastRow_ = i;
    return e.Args[static_cast<size_t>(i)].Value;
}

const std::string& Encoding::text(int i) const {
    static const std::string none;
    return isArgumentRow(i) ? editorRow(e, i).Value.Text : none;
}

bool Encoding::hasType(int i) const {
    return isArgumentRow(i) && editorRow(e, i).Type.hasSelection();
}

int Encoding::typeOf(int i) const {
    return hasType(i) ? editorRow(e, i).Type.selectedData() : 0;
}

int Encoding::typePosition(int i) const {
    return hasType(i) ? editorRow(e, i).Type.Selected : 0;
}

uint8_t Encoding::kind(int i) const {
    return isArgumentRow(i) ? e.Args[static_cast<size_t>(i)].Kind : 0;
}

namespace {

// What a slot holds in each value kind the encodings write.
std::string kindRange(uint8_t kind) {
    switch (kind) {
    case KindUInt:
    case KindInt:
        return SixteenBitRange;
    case KindKFlt:
        return "from -3.4e38 to 3.4e38";
    default:
        return "from -2147483648 to 4294967295";
    }
}

} // namespace

void Encoding::put(int slot, double v, uint8_t kind) {
    if (!Trasf(v, kind, r, slot)) throw refused(kindRange(kind));
}

void Encoding::putSwap(int slot, double v, uint8_t kind) {
    if (!TrasfSwap(v, kind, r, slot)) throw refused(kindRange(kind));
}

void Encoding::putOperand(int slot, int row) {
    put(slot, value(row), typeOf(row) == KindKFlt ? KindKFlt : KindUInt);
}

void Encoding::zero(int from, int to) {
    for (int s = from; s <= to; ++s)
        put(s, 0, KindUInt);
}

uint8_t Encoding::byteForm(double v) const {
    double n = nearestInteger(v);
    if (!(n >= 0 && n <= 255)) throw refused("from 0 to 255");
    return static_cast<uint8_t>(n);
}

std::array<uint8_t, 2> Encoding::twoBytes(double v) const {
    std::array<uint8_t, 2> b{};
    if (!intToBytes(v, b)) throw refused(SixteenBitRange);
    return b;
}

void Encoding::caption(int i) {
    if (isArgumentRow(i)) row.ArgCaptions[static_cast<size_t>(i)] = editorRow(e, i).Caption;
}

void Encoding::captionWithType(int i) {
    if (isArgumentRow(i)) {
        const ArgumentRow& er = editorRow(e, i);
        row.ArgCaptions[static_cast<size_t>(i)] = er.Caption + " (" + er.Type.Text + ")";
    }
}

void Encoding::summary(std::initializer_list<int> rows) {
    std::string s = "[ ";
    bool first = true;
    for (int i : rows) {
        if (!first) s += " , ";
        s += text(i);
        first = false;
    }
    row.Summary = s + " ]";
}

namespace {

// Set-up per catalogue index 0..68; nullptr: no rows of its own (6, 12, 15, 17, 64).
constexpr std::array<SetupFn, CatalogueDefined> Setups = {
    setupPlainRead,  setupPlainWrite, setupDevice,     setupScale,       setupArithmetic, // 0-4
    setupArithmetic, nullptr,         setupArithmetic, setupArithmetic,  setupDevice,     // 5-9
    setupCompare,    setupJump,       nullptr,         setupIfBit,       setupJump,       // 10-14
    nullptr,         setupTimer,      nullptr,         setupArithmetic,  setupArithmetic, // 15-19
    setupTrip,       setupLogic,      setupLogic,      setupLogic,       setupLogic,      // 20-24
    setupLogic,      setupLogic,      setupLogic,      setupLogic,       setupArithmetic, // 25-29
    setupArithmetic, setupReadWrite,  setupArithmetic, setupLogic,       setupLogic,      // 30-34
    setupLogic,      setupLogic,      setupLogic,      setupArithmetic,  setupArithmetic, // 35-39
    setupPlainRead,  setupLogWrite,   setupIfBit,      setupDisplay,     setupDisplay,    // 40-44
    setupWatchdog,   setupBlockMove,  setupComparison, setupComparison,  setupComparison, // 45-49
    setupComparison, setupComparison, setupComparison, setupComparison,  setupComparison, // 50-54
    setupPid,        setupLogic,      setupLogic,      setupLogic,       setupLogic,      // 55-59
    setupPlainRead,  setupPlainWrite, setupPlainWrite, setupPointerRead, nullptr,         // 60-64
    setupPlainWrite, setupWhile,      setupArithmetic, setupArithmetic,                   // 65-68
};

struct OperationEncoder {
    int Opcode;
    EncodeFn Encode;
};
constexpr OperationEncoder Operations[] = {
    {1, encodeArithmetic}, {2, encodeScale},   {3, encodeDisplay},    {6, encodeBlockMove},
    {128, encodeCompare},  {129, encodeIfBit}, {130, encodeGoto},     {131, encodeCall},
    {132, encodeReturn},   {133, encodeLogic}, {134, encodeTimer},    {137, encodeTrip},
    {138, encodeLogWrite}, {139, encodeIfBit}, {140, encodeWatchdog}, {141, encodeComparison},
    {142, encodePid},      {147, encodeWhile},
};

} // namespace

SetupFn setupFor(int k) {
    return k >= 0 && k < CatalogueDefined ? Setups[static_cast<size_t>(k)] : nullptr;
}

EncodeFn encoderFor(int type, int opcode) {
    if (type != 3) return nullptr;
    for (const OperationEncoder& o : Operations)
        if (o.Opcode == opcode) return o.Encode;
    return nullptr;
}
