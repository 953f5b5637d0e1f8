#pragma once
// Editable fields of a record described as data: caption, kind, range and where the value lives. The
// designers show and store every saved field through one table per record, so nothing is left out.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

enum class FieldKind { Number, Decimal, Text, Flag };

// Parses a whole number in [lo, hi]; nullopt when the text is not one.
std::optional<int64_t> wholeNumberIn(std::string_view text, int64_t lo, int64_t hi);
// Parses a finite decimal number, point as separator.
std::optional<double> decimalNumber(std::string_view text);
// The shortest decimal text that reads back to the same double.
std::string decimalText(double v);
// The project files end a text item at a comma or a line break, so stored texts hold neither.
bool storableText(std::string_view text);

template <class R>
using FieldRef = std::variant<uint8_t& (*)(R&), int16_t& (*)(R&), uint16_t& (*)(R&), double& (*)(R&),
                              std::string& (*)(R&)>;

template <class R> struct RecordField {
    std::array<int, 2> keys; // UiText keys of the caption, joined by a blank; -1 for none
    const char* fixed;       // English caption text after them
    FieldKind kind;
    int64_t lo, hi;
    FieldRef<R> ref;
};

// The caption in the current language: the texts of its keys and its fixed part.
template <class R, class Texts> std::string fieldCaption(const RecordField<R>& f, const Texts& uiText) {
    std::string caption;
    for (int k : f.keys)
        if (k >= 0) caption += (caption.empty() ? "" : " ") + std::string(uiText[static_cast<size_t>(k)]);
    if (*f.fixed) caption += (caption.empty() ? "" : " ") + std::string(f.fixed);
    return caption;
}

// The text a field shows; a flag shows "1" when set.
template <class R> std::string fieldText(const RecordField<R>& f, R& record) {
    return std::visit(
        [&](auto ref) -> std::string {
            auto& v = ref(record);
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::string>)
                return v;
            else if constexpr (std::is_same_v<T, double>)
                return decimalText(v);
            else if (f.kind == FieldKind::Flag)
                return v != 0 ? "1" : "0";
            else
                return std::to_string(v);
        },
        f.ref);
}

// The message that refuses text for the field, or nullopt when it is acceptable.
std::optional<std::string> fieldRefusal(FieldKind kind, int64_t lo, int64_t hi, std::string_view caption,
                                        std::string_view text);

// Stores text into the field when it is acceptable; the refusal message otherwise, the record unchanged.
// changed tells whether the stored value differs from the old one.
template <class R>
std::optional<std::string> storeField(const RecordField<R>& f, R& record, std::string_view caption,
                                      std::string_view text, bool& changed) {
    changed = false;
    if (auto refusal = fieldRefusal(f.kind, f.lo, f.hi, caption, text)) return refusal;
    std::visit(
        [&](auto ref) {
            auto& v = ref(record);
            using T = std::decay_t<decltype(v)>;
            T next{};
            if constexpr (std::is_same_v<T, std::string>)
                next = std::string(text);
            else if constexpr (std::is_same_v<T, double>)
                next = *decimalNumber(text);
            else if (f.kind == FieldKind::Flag)
                next = static_cast<T>(*wholeNumberIn(text, 0, 1) ? -1 : 0);
            else
                next = static_cast<T>(*wholeNumberIn(text, f.lo, f.hi));
            changed = !(next == v);
            v = next;
        },
        f.ref);
    return std::nullopt;
}
