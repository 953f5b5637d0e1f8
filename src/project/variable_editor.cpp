#include "project/variable_editor.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>

#include "core/resource_strings.h"
#include "core/variable_limits.h"
#include "project/item_reader.h"
#include "project/project_files.h"

namespace {

constexpr char FormatKinds[] = {'f', 'e', 'x'};

std::string threeDigits(int i) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%03d", i);
    return buf;
}

// A text that holds a whole number in the field's range, rounded like the editor's conversions.
template <class T> bool takeNumber(const std::string& text, T& field) {
    auto v = parseNumber(text);
    if (!v) return false;
    double whole = std::nearbyint(*v);
    if (whole < static_cast<double>(std::numeric_limits<T>::min()) ||
        whole > static_cast<double>(std::numeric_limits<T>::max()))
        return false;
    field = static_cast<T>(whole);
    return true;
}

// The variable in use whose number the id box holds, -1 for none.
int variableIndex(const VariableTable& vars, const std::string& idText) {
    int id = -1;
    return takeNumber(idText, id) && id >= 0 && id < vars.Count ? id : -1;
}

// A stored (Latin-1) text as the window's number fields hold it.
std::string utf8(std::string_view latin1) {
    std::string out;
    for (const unsigned char c : latin1) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// The fields of a string variable's alternate selection.
void showAlternate(const VariableRecord& v, VariableFields& f) {
    f.alternate = std::to_string(v.AltRegister);
    f.trigger = std::to_string(v.TriggerRegister);
    f.mask = std::to_string(v.Mask);
    f.swap = v.Swap != 0;
}

} // namespace

std::string buildFormat(const OutputFormat& f) {
    char kind = f.kind >= 0 && f.kind < 3 ? FormatKinds[f.kind] : 'f';
    return std::string("%") + (f.sign ? '+' : ' ') + std::to_string(std::clamp(f.digits, 1, 9)) + "." +
           std::to_string(std::clamp(f.decimals, 0, 9)) + kind;
}

OutputFormat parseFormat(std::string_view format, OutputFormat current) {
    auto digitAt = [&](size_t i, int& field) {
        if (i < format.size() && format[i] >= '0' && format[i] <= '9') field = format[i] - '0';
    };
    if (format.size() > 1) current.sign = format[1] != ' ';
    digitAt(2, current.digits);
    digitAt(4, current.decimals);
    if (format.size() > 5)
        for (int k = 0; k < 3; ++k)
            if (format[5] == FormatKinds[k]) current.kind = k;
    return current;
}

std::string variableListLine(int index, const VariableRecord& v, std::string_view typeName) {
    std::string line = "#" + threeDigits(index) + " \t";
    std::string type(typeName);
    std::string reg = std::to_string(v.Register);
    if (v.ValueType <= 12)
        return line + reg + "\t" + type + "\t" + v.Format + "\t" + v.Name + "\t\t" + v.CsvName;
    if (v.ValueType <= 15) return line + reg + "\t" + type + "\t" + v.Name + "\t\t" + v.CsvName;
    if (v.ValueType <= 18) return line + "\t" + type + "\t\t\t\t" + v.CsvName;
    return line;
}

std::string stringListLine(int index, std::string_view text) {
    return "$" + threeDigits(index) + "\t" + std::string(text);
}

std::string blockListLine(int index, std::string_view name) {
    return "*" + threeDigits(index) + " " + std::string(name);
}

int addVariable(VariableTable& vars, const ModelRecord& model, int16_t& modified) {
    if (vars.Count >= std::min<int>(model.MaxVariables, 255)) return -1;
    int k = vars.Count++;
    VariableRecord& v = vars.Variables[static_cast<size_t>(k)];
    v.Format = "%+5.0f";
    v.Name = "Var" + std::to_string(k);
    v.Register = model.FirstUserRegister;
    v.ValueType = 0;
    v.AltRegister = model.FirstUserRegister;
    v.TriggerRegister = 0;
    v.Mask = 1;
    v.Swap = 0;
    v.CsvName = v.Name;
    modified = -1;
    return k;
}

int removeVariable(VariableTable& vars, int selected, int16_t& modified) {
    if (vars.Count == 0) return -1;
    modified = -1;
    if (selected < 0 || selected >= vars.Count) return 0;
    for (int i = selected; i + 1 < vars.Count; ++i)
        vars.Variables[static_cast<size_t>(i)] = vars.Variables[static_cast<size_t>(i + 1)];
    --vars.Count;
    return selected - 1;
}

int moveVariableUp(VariableTable& vars, int selected, int16_t& modified) {
    modified = -1;
    if (selected < 0 || selected >= vars.Count) return selected < 0 ? -1 : selected;
    if (selected == 0) return -1;
    std::swap(vars.Variables[static_cast<size_t>(selected - 1)],
              vars.Variables[static_cast<size_t>(selected)]);
    return selected - 1;
}

int moveVariableDown(VariableTable& vars, int selected, int16_t& modified) {
    modified = -1;
    if (selected < 0 || selected + 1 >= vars.Count) return selected;
    std::swap(vars.Variables[static_cast<size_t>(selected)],
              vars.Variables[static_cast<size_t>(selected + 1)]);
    return selected + 1;
}

bool applyVariableFields(VariableTable& vars, VariableFields& f, const ModelRecord& model,
                         UserDialogs& dialogs, int16_t& modified) {
    // The id box is editable: only a variable in use is ever written.
    const int id = variableIndex(vars, f.id);
    if (id < 0) {
        dialogs.messageBox("Check values (ID)", MsgButtons::Ok, MsgIcon::Critical, "Error");
        return false;
    }
    // The ".fmt" file keeps both names on one line, parted by the first TAB.
    if (f.name.find_first_of("\t\r\n") != std::string::npos ||
        f.csvName.find_first_of("\r\n") != std::string::npos) {
        dialogs.messageBox("Check values (Name): no TAB or line break", MsgButtons::Ok, MsgIcon::Critical,
                           "Error");
        return false;
    }
    if (f.name.size() > VariableNameField) {
        dialogs.messageBox("Check values (Name): the controller holds " + std::to_string(VariableNameField) +
                               " characters at most",
                           MsgButtons::Ok, MsgIcon::Critical, "Error");
        return false;
    }
    // Built on a copy and stored whole: a refused edit leaves the variable as it was.
    VariableRecord v = vars.Variables[static_cast<size_t>(id)];
    v.ValueType = f.typeIndex >= 0 && f.typeIndex < static_cast<int>(TypeListData.size())
                      ? TypeListData[static_cast<size_t>(f.typeIndex)]
                      : 0;
    v.Name = f.name;
    // A number field the window shows takes a number in its range or is refused; a hidden one (the
    // alternate's fields while unticked) keeps the stored value.
    const TypeLayout shown = typeLayout(f.typeIndex);
    const bool alternate = shown.altFrame && f.alternateChecked;
    const bool stringNumbers = v.ValueType == 14;
    std::string unread;
    auto readField = [&](const std::string& text, auto& field, bool isShown, const std::string& caption,
                         const std::string& range) {
        const bool read = takeNumber(text, field);
        if (!read && isShown && unread.empty()) unread = caption + " \"" + text + "\": " + range;
        return read;
    };
    readField(f.reg, v.Register, shown.reg, shown.regCaption, VariableFieldRange(stringNumbers, model));
    // The type as now chosen decides what the alternate box holds. A format is built afresh from its
    // controls; a string variable's alternate is a number, which its format text keeps as well.
    if (hasOutputFormat(v.ValueType))
        v.Format = f.alternate = buildFormat(f.format);
    else if (readField(f.alternate, v.AltRegister, alternate, shown.alternateCaption,
                       VariableFieldRange(stringNumbers, model)))
        v.Format = f.alternate;
    readField(f.trigger, v.TriggerRegister, alternate, "Trigger Reg", VariableFieldRange(false, model));
    if (f.alternateChecked) {
        // Mask 0 means no alternate, however it is written ("00", "-0", "0.4"): refused while ticked.
        if (readField(f.mask, v.Mask, alternate, "Mask", "a whole number from -32768 to 32767") &&
            v.Mask == 0) {
            dialogs.messageBox("Check values (Mask)", MsgButtons::Ok, MsgIcon::Critical, "Error");
            return false;
        }
    } else {
        v.Mask = 0;
    }
    if (!unread.empty()) {
        dialogs.messageBoxUtf8("Check values (" + unread + ")", MsgButtons::Ok, MsgIcon::Critical, "Error");
        return false;
    }
    v.Swap = f.swap ? 1 : 0;
    v.CsvName = f.csvName;
    // The controller takes a register as 16 bits: one it does not have would be sent as another.
    if (const std::string why = VariableRegisterRefusal(v, model); !why.empty()) {
        dialogs.messageBox("Check values (" + why + ")", MsgButtons::Ok, MsgIcon::Critical, "Error");
        return false;
    }
    vars.Variables[static_cast<size_t>(id)] = v;
    modified = -1;
    return true;
}

VariableFields fieldsOfVariable(const VariableTable& vars, int index, VariableFields f) {
    if (index < 0 || index >= static_cast<int>(vars.Variables.size())) return f;
    const VariableRecord& v = vars.Variables[static_cast<size_t>(index)];
    f.id = std::to_string(index);
    f.reg = std::to_string(v.Register);
    if (v.ValueType < TypeListData.size()) f.typeIndex = v.ValueType;
    if (hasOutputFormat(v.ValueType)) {
        f.alternate = utf8(v.Format);
        f.format = parseFormat(v.Format, f.format);
    } else if (v.ValueType <= 15) {
        showAlternate(v, f);
    }
    f.name = v.Name;
    f.csvName = v.CsvName;
    return f;
}

VariableFields fieldsForType(const VariableTable& vars, VariableFields f, int shownIndex) {
    const int id = variableIndex(vars, f.id);
    if (id < 0 || typeLayout(shownIndex).altFrame || !typeLayout(f.typeIndex).altFrame) return f;
    showAlternate(vars.Variables[static_cast<size_t>(id)], f);
    return f;
}

TypeLayout typeLayout(int typeIndex) {
    const int t = typeIndex >= 0 && typeIndex < static_cast<int>(TypeListData.size())
                      ? TypeListData[static_cast<size_t>(typeIndex)]
                      : 0;
    TypeLayout l;
    l.label = true;
    if (t <= 12) {
        l.reg = l.alternate = l.format = true;
        l.regCaption = "Input Reg";
        l.alternateCaption = "Output Format";
    } else if (t == 13 || t == 14) {
        l.reg = l.alternate = l.altFrame = l.swap = true;
        const bool ram = t == 13;
        l.regCaption = ram ? "Location Reg (Default)" : "String ID (Default)";
        l.alternateCaption = ram ? "Location Reg (Alt)" : "String ID (Alt)";
    }
    return l;
}

bool textPagesShown(std::string_view modelName, uint16_t brandOffset) {
    for (int id : {626, 627})
        if (auto name = ResourceString(id + brandOffset); name && *name == modelName) return true;
    return false;
}

PresetButtons presetButtons(int16_t brand1, int16_t brand2, int16_t variant) {
    PresetButtons b;
    if (variant) b.nwVar = true;
    if (brand2) b.systemVar = true;
    if (brand1) {
        b.nwVar = false;
        b.systemVar = true;
    }
    return b;
}

namespace {

// The first refusal of a text for a slot of `limit` characters, empty when it fits. A single-line text is
// one line of its file, so it cannot hold a line break.
std::string textRefusal(const EditedText& text, const std::string& what, size_t limit, bool singleLine) {
    if (singleLine && text.bytes.find_first_of("\r\n") != std::string::npos)
        return what + " holds a line break: it must be a single line";
    if (text.unmapped > 0)
        return what + " holds " + std::to_string(text.unmapped) +
               " character(s) the controller cannot show: only Latin-1 characters are allowed";
    if (text.bytes.size() > limit)
        return what + " is " + std::to_string(text.bytes.size()) + " characters long; the controller holds " +
               std::to_string(limit) + " at most";
    return {};
}

bool refused(UserDialogs& dialogs, const std::string& why) {
    if (why.empty()) return false;
    dialogs.messageBox(why, MsgButtons::Ok, MsgIcon::Warning);
    return true;
}

} // namespace

bool setStringText(StringTable& strings, int index, const EditedText& text, UserDialogs& dialogs,
                   int16_t& modified) {
    if (index < 0 || index >= static_cast<int>(strings.size())) return false;
    if (refused(dialogs, textRefusal(text, "The string", MaxStringLength, true))) return false;
    strings[static_cast<size_t>(index)].Text = text.bytes;
    modified = -1;
    return true;
}

bool setBlock(TextBlockTable& blocks, int index, const EditedText& name, const EditedText& text,
              const ModelRecord& model, UserDialogs& dialogs, int16_t& modified) {
    if (index < 0 || index >= static_cast<int>(blocks.size())) return false;
    std::string why = textRefusal(name, "The block name", std::string::npos, true);
    if (why.empty())
        why = textRefusal(text, "The block text", std::max(model.BlockSize, uint16_t{1}) - 1u, false);
    if (why.empty())
        if (int line = blockMarkerLine(text.bytes); line > 0)
            why = "Line " + std::to_string(line) + " of the block text begins with \"" +
                  std::string(BlockOpenMarker) + "\" or \"" + std::string(BlockCloseMarker) +
                  "\", which the project file keeps as block bounds";
    if (refused(dialogs, why)) return false;
    blocks[static_cast<size_t>(index)].Name = name.bytes;
    blocks[static_cast<size_t>(index)].Text = text.bytes;
    modified = -1;
    return true;
}
