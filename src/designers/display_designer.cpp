#include "designers/display_designer.h"

#include <algorithm>

namespace {

using F = RecordField<DisplayObject>;
constexpr int None = -1;
// Caption keys of the designer's texts.
constexpr int KeyReg = 158, KeyType = 159, KeyFormat = 160, KeyLabel = 161, KeyPosition = 167,
              KeyReverse = 168, KeyAlternative = 207, KeyLength = 208, KeyWidth = 209, KeyLineWidth = 210;

constexpr F byteField(std::array<int, 2> keys, const char* fixed, uint8_t& (*ref)(DisplayObject&)) {
    return {keys, fixed, FieldKind::Number, 0, 255, ref};
}
constexpr F integerField(std::array<int, 2> keys, const char* fixed, int16_t& (*ref)(DisplayObject&)) {
    return {keys, fixed, FieldKind::Number, -32768, 32767, ref};
}
constexpr F flagField(std::array<int, 2> keys, const char* fixed, int16_t& (*ref)(DisplayObject&)) {
    return {keys, fixed, FieldKind::Flag, 0, 1, ref};
}
constexpr F textField(std::array<int, 2> keys, const char* fixed, std::string& (*ref)(DisplayObject&)) {
    return {keys, fixed, FieldKind::Text, 0, 0, ref};
}
constexpr F decimalField(const char* fixed, double& (*ref)(DisplayObject&)) {
    return {{None, None}, fixed, FieldKind::Decimal, 0, 0, ref};
}

constexpr std::array<F, DisplayObjectFields> ObjectFields = {
    byteField({KeyType, None}, "", [](DisplayObject& o) -> uint8_t& { return o.TypeCode; }),
    byteField({KeyPosition, None}, "X", [](DisplayObject& o) -> uint8_t& { return o.X; }),
    byteField({KeyPosition, None}, "Y", [](DisplayObject& o) -> uint8_t& { return o.Y; }),
    byteField({KeyLength, None}, "", [](DisplayObject& o) -> uint8_t& { return o.SizeX; }),
    byteField({KeyWidth, None}, "", [](DisplayObject& o) -> uint8_t& { return o.SizeY; }),
    byteField({KeyLineWidth, None}, "", [](DisplayObject& o) -> uint8_t& { return o.LineThickness; }),
    textField({KeyLabel, KeyFormat}, "", [](DisplayObject& o) -> std::string& { return o.Text; }),
    textField({KeyAlternative, None}, "", [](DisplayObject& o) -> std::string& { return o.AltText; }),
    integerField({KeyReg, None}, "", [](DisplayObject& o) -> int16_t& { return o.Register; }),
    byteField({KeyReg, KeyType}, "", [](DisplayObject& o) -> uint8_t& { return o.RegisterValueType; }),
    integerField({None, None}, "Bit", [](DisplayObject& o) -> int16_t& { return o.Bit; }),
    decimalField("Max", [](DisplayObject& o) -> double& { return o.Maximum; }),
    decimalField("Min", [](DisplayObject& o) -> double& { return o.Minimum; }),
    byteField({None, None}, "Picture On", [](DisplayObject& o) -> uint8_t& { return o.PictureOn; }),
    byteField({None, None}, "Picture Off", [](DisplayObject& o) -> uint8_t& { return o.PictureOff; }),
    flagField({KeyReverse, None}, "", [](DisplayObject& o) -> int16_t& { return o.Reverse; }),
    flagField({None, None}, "Option 1", [](DisplayObject& o) -> int16_t& { return o.FirstOption; }),
    flagField({None, None}, "Option 2", [](DisplayObject& o) -> int16_t& { return o.SecondOption; }),
    flagField({None, None}, "Direction", [](DisplayObject& o) -> int16_t& { return o.Direction; }),
    flagField({KeyAlternative, None}, "On", [](DisplayObject& o) -> int16_t& { return o.AltTextFlag; }),
};

} // namespace

const std::array<RecordField<DisplayObject>, DisplayObjectFields>& DisplayDesigner::fields() {
    return ObjectFields;
}

int DisplayDesigner::objectCount(int page) const {
    return validPage(page) ? std::min<int>(pages_.Pages[size_t(page)].ObjectCount, MaxPageObjects) : 0;
}

std::string DisplayDesigner::objectLine(int page, int o) const {
    const DisplayObject& ob = pages_.Pages[size_t(page)].Objects[size_t(o)];
    return std::to_string(o) + ": " + std::to_string(ob.TypeCode) + " (" + std::to_string(ob.X) + ", " +
           std::to_string(ob.Y) + ") " + ob.Text;
}

int DisplayDesigner::addPage() {
    if (pageCount() >= MaxDisplayPages)
        return edits_.refuse("A project holds at most " + std::to_string(MaxDisplayPages) +
                             " display pages."),
               -1;
    int page = pageCount();
    pages_.Pages[size_t(page)] = DisplayPage{};
    pages_.Count = static_cast<uint8_t>(page + 1);
    edits_.stored();
    return page;
}

int DisplayDesigner::removePage(int page) {
    if (!validPage(page)) return -1;
    if (pageCount() <= 1) return edits_.refuse("A project keeps at least one display page."), -1;
    std::move(pages_.Pages.begin() + page + 1, pages_.Pages.begin() + pageCount(),
              pages_.Pages.begin() + page);
    pages_.Count = static_cast<uint8_t>(pageCount() - 1);
    pages_.Pages[pages_.Count] = DisplayPage{};
    edits_.stored();
    return std::min(page, pageCount() - 1);
}

int DisplayDesigner::addObject(int page) {
    if (!validPage(page)) return -1;
    int count = objectCount(page);
    if (count >= MaxPageObjects)
        return edits_.refuse("A page holds at most " + std::to_string(MaxPageObjects) + " objects."), -1;
    DisplayPage& p = pages_.Pages[size_t(page)];
    p.Objects[size_t(count + 1)] = DisplayObject{};
    p.ObjectCount = static_cast<uint8_t>(count + 1);
    edits_.stored();
    return count + 1;
}

int DisplayDesigner::removeObject(int page, int o) {
    if (!validObject(page, o)) return -1;
    DisplayPage& p = pages_.Pages[size_t(page)];
    int count = objectCount(page);
    std::move(p.Objects.begin() + o + 1, p.Objects.begin() + count + 1, p.Objects.begin() + o);
    p.Objects[size_t(count)] = DisplayObject{};
    p.ObjectCount = static_cast<uint8_t>(count - 1);
    edits_.stored();
    return std::min(o, count - 1);
}

int DisplayDesigner::moveObject(int page, int o, int step) {
    int to = o + step;
    if (!validObject(page, o) || !validObject(page, to)) return o;
    DisplayPage& p = pages_.Pages[size_t(page)];
    std::swap(p.Objects[size_t(o)], p.Objects[size_t(to)]);
    edits_.stored();
    return to;
}

bool DisplayDesigner::setField(int page, int o, int f, std::string_view caption, std::string_view text) {
    if (!validObject(page, o) || f < 0 || f >= DisplayObjectFields) return false;
    return edits_.store(ObjectFields[size_t(f)], object(page, o), caption, text);
}
