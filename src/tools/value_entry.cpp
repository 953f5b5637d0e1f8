#include "tools/value_entry.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "core/app_context.h"
#include "core/value_type_codes.h"
#include "comm/device_procedures.h"
#include "tools/tool_guard.h"

namespace {

constexpr int RowText = 56;
constexpr size_t MaxTextLength = 99; // what one string write carries
constexpr uint8_t EntryTypes[] = {KindUInt,  KindInt, KindULong, KindLong, KindFloat,    KindKFlt,
                                  KindKLong, KindHex, KindAscii, KindBin,  KindStringRam};

std::string trimmed(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// The whole text as a number in base within lo..hi; nothing otherwise.
std::optional<int64_t> whole(const std::string& t, int base, int64_t lo, int64_t hi) {
    int64_t v = 0;
    const char* end = t.data() + t.size();
    auto r = std::from_chars(t.data(), end, v, base);
    if (t.empty() || r.ec != std::errc() || r.ptr != end || v < lo || v > hi) return std::nullopt;
    return v;
}

std::optional<double> real(std::string t) {
    for (char& c : t)
        if (c == ',') c = '.';
    double v = 0;
    const char* end = t.data() + t.size();
    auto r = std::from_chars(t.data(), end, v);
    if (t.empty() || r.ec != std::errc() || r.ptr != end || !std::isfinite(v) ||
        std::fabs(v) > std::numeric_limits<float>::max())
        return std::nullopt;
    return v;
}

// One register as the register view shows ASCII: low byte the first character, high byte the second;
// a single character goes into the high byte.
std::optional<int64_t> ascii(const std::string& t) {
    if (t.empty() || t.size() > 2) return std::nullopt;
    const auto c = [&](size_t i) { return int64_t(static_cast<uint8_t>(t[i])); };
    return t.size() == 1 ? c(0) << 8 : (c(1) << 8) | c(0);
}

// The types held in one register: base and range of the typed number, and its most digits.
struct OneRegisterType {
    uint8_t type;
    int base;
    int64_t lo, hi;
    size_t maxDigits;
};
constexpr OneRegisterType OneRegister[] = {{KindUInt, 10, 0, 65535, 5},
                                           {KindInt, 10, -32768, 32767, 6},
                                           {KindHex, 16, 0, 65535, 4},
                                           {KindBin, 2, 0, 65535, 16}};

const OneRegisterType* oneRegisterType(uint8_t type) {
    for (const auto& r : OneRegister)
        if (r.type == type) return &r;
    return nullptr;
}

} // namespace

void ValueEntry::SetRes() {
    for (size_t i = 0; i < RowCaptions.size(); ++i)
        RowCaptions[i] = ctx_.shell.UiText[RowText + i];
    TypeCodes.assign(std::begin(EntryTypes), std::end(EntryTypes));
    TypeNames.clear();
    for (uint8_t t : TypeCodes)
        TypeNames.push_back(ctx_.shell.ValueTypeNames[t]);
}

bool ValueEntry::refuse(const std::string& why) {
    Message = why;
    ctx_.dialogs.messageBox(why, MsgButtons::Ok, MsgIcon::Warning);
    return false;
}

bool ValueEntry::write(const std::string& typed) {
    const std::string t = ValueType == KindStringRam ? typed : trimmed(typed);
    const int16_t reg = static_cast<int16_t>(Register);
    if (Register < 0 || Register >= RegisterCount) return refuse("No such register");
    if (ValueType >= ValueTypeNameCount) return refuse("No such value type");
    if (!ToolMaySend(ctx_))
        return refuse("Not written: " + std::string(ctx_.comm.RunUnderWay) + " is under way");
    const std::string outOfRange =
        "Value out of range for " + ctx_.shell.ValueTypeNames[ValueType] + ": " + t;
    bool ok = false;
    if (const OneRegisterType* one = oneRegisterType(ValueType); one || ValueType == KindAscii) {
        auto n = one ? (t.size() <= one->maxDigits ? whole(t, one->base, one->lo, one->hi) : std::nullopt)
                     : ascii(t);
        if (!n) return refuse(outOfRange);
        double v = double(*n);
        ok = ScriviRegistro(ctx_, ctx_.comm.CurrentDevice.NodeAddress, reg, v);
    } else if (ValueType == KindULong || ValueType == KindLong || ValueType == KindKLong) {
        const bool isSigned = ValueType != KindULong;
        auto n = isSigned ? whole(t, 10, INT32_MIN, INT32_MAX) : whole(t, 10, 0, UINT32_MAX);
        if (!n) return refuse(outOfRange);
        ok = ScriviLong(ctx_, double(*n), isSigned, reg);
    } else if (ValueType == KindFloat || ValueType == KindKFlt) {
        auto v = real(t);
        if (!v) return refuse(outOfRange);
        ok = ScriviFloat(ctx_, *v, reg);
    } else if (ValueType == KindStringRam) {
        if (t.size() > MaxTextLength) return refuse(outOfRange);
        ok = ScriviStringa(ctx_, t, reg);
    } else {
        return refuse("No such value type");
    }
    Message = ok ? "Written" : "Write failed";
    if (ok && onWritten) onWritten();
    return ok;
}

std::string ValueEntry::registerText() const {
    if (Register < 0 || Register >= RegisterCount) return {};
    const RegisterRecord& r = ctx_.comm.Registers[static_cast<size_t>(Register)];
    return r.Label + " " + r.Name;
}
