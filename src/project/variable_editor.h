#pragma once
// The variables, strings and blocks editor without its window: the records' limits, list lines, the
// output format text and applying the edit fields.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/model_record.h"
#include "core/project_data.h"
#include "core/user_dialogs.h"
#include "program/transfer/controller_memory_map.h"

// The type list offers 18 entries; an entry's data is the type it stores ("---" entries store 0).
constexpr std::array<uint8_t, 18> TypeListData = {0, 1, 2, 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 13, 14, 0, 16, 17};
constexpr bool typeListOffers(int index) {
    return index <= 4 || index == 13 || index == 14 || index == 16 || index == 17;
}

constexpr bool hasOutputFormat(uint8_t type) {
    return type <= 12 || type == 16 || type == 17;
}

// The format text "%" + sign + digits + "." + decimals + conversion, for example "%+5.0f".
struct OutputFormat {
    bool sign = true;
    int digits = 5;   // 1..9
    int decimals = 0; // 0..9
    int kind = 0;     // 0 Decimal "f", 1 Exp "e", 2 Hex "x"
};
std::string buildFormat(const OutputFormat& f);
// Reads the parts of a format text; parts that are not there keep their value in current.
OutputFormat parseFormat(std::string_view format, OutputFormat current);

// The list lines.
std::string variableListLine(int index, const VariableRecord& v, std::string_view typeName);
std::string stringListLine(int index, std::string_view text);
std::string blockListLine(int index, std::string_view name);

// Adds a variable with the new-variable defaults; -1 at the model's limit (nothing changes).
int addVariable(VariableTable& vars, const ModelRecord& model, int16_t& modified);
// Each returns the list selection afterwards, -1 for none.
int removeVariable(VariableTable& vars, int selected, int16_t& modified);
int moveVariableUp(VariableTable& vars, int selected, int16_t& modified);
int moveVariableDown(VariableTable& vars, int selected, int16_t& modified);

// The variable page's edit fields as the window holds them. The number fields (id to mask) are in UTF-8,
// as typed, so that a refusal quotes them as they stand; the texts (name, CSV name) are Latin-1 bytes.
struct VariableFields {
    std::string id;        // index of the edited variable
    std::string reg;       // "Input Reg" / default location or string
    std::string alternate; // output format, or the alternate location or string
    std::string trigger;
    std::string mask;
    int typeIndex = 0;
    std::string name;
    std::string csvName;
    bool alternateChecked = false;
    bool swap = false;
    OutputFormat format;
};
// Applies the fields to the variable they name, all or nothing. The type as now chosen decides what the
// alternate box holds: the output format, built afresh from its controls, or (string types) the
// alternate location or string number. A hidden field whose text is not a number keeps the old value.
// False, with nothing stored, after "Check values (ID)" (no variable in use by that number),
// "Check values (Mask)" (with "Set Altern." ticked, a mask that reads as 0 however it is written), or
// "Check values (...)" naming a shown field whose text is no number (quoting what was typed), or a
// register or string number the model does not have, with the model's range.
bool applyVariableFields(VariableTable& vars, VariableFields& fields, const ModelRecord& model,
                         UserDialogs& dialogs, int16_t& modified);

// List1_Click: the fields of variable `index` (fields the variable's type does not use keep theirs).
VariableFields fieldsOfVariable(const VariableTable& vars, int index, VariableFields current);

// The user chose type list entry f.typeIndex in place of `shownIndex`: when the alternate fields come into
// view (a type with an output format made a string), they show the variable's stored alternate, trigger,
// mask and swap flag, not the format text the alternate box held or another variable's fields.
VariableFields fieldsForType(const VariableTable& vars, VariableFields f, int shownIndex);

// cmb_Type_Click: which field editors the variable page shows for type list entry `typeIndex`.
struct TypeLayout {
    bool reg = false, alternate = false, label = false, format = false, altFrame = false, swap = false;
    std::string regCaption, alternateCaption;
};
TypeLayout typeLayout(int typeIndex);

// TabStrip1_Click: the Strings and Text pages are shown only for the brand's two models.
bool textPagesShown(std::string_view modelName, uint16_t brandOffset);

// SetRes: which preset buttons the build shows ("Set System Var", "Set NW Var").
struct PresetButtons {
    bool systemVar = false;
    bool nwVar = false;
};
PresetButtons presetButtons(int16_t brand1, int16_t brand2, int16_t variant);

// A string slot of the controller holds this many characters and the terminator.
constexpr size_t MaxStringLength = StringSlot - 1;

// The edited text as the window read it: its Latin-1 bytes, and how many of its characters the
// controller's code page (Latin-1) has not.
struct EditedText {
    std::string bytes;
    int unmapped = 0;
};

// cmd_SetString_Click and cmd_RegistriWEB_Click(1): an entry outside the table changes nothing. A text
// the controller cannot hold is refused with a message naming the limit, and nothing changes: a string
// longer than its slot leaves for the terminator, a block longer than the model's block, a character
// outside the code page, or a block line the ".blk" file would take for one of its markers.
bool setStringText(StringTable& strings, int index, const EditedText& text, UserDialogs& dialogs,
                   int16_t& modified);
bool setBlock(TextBlockTable& blocks, int index, const EditedText& name, const EditedText& text,
              const ModelRecord& model, UserDialogs& dialogs, int16_t& modified);
