#pragma once
// What the function-block editor's controls hold, without any window: the window draws this state.
#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "fbeditor/catalogue.h"
#include "fbeditor/value_types.h"

struct ListEntry {
    std::string Text;
    int Data = 0; // item data
};

// An editable drop-down list: typed text plus a list whose entries carry item data.
struct ComboBox {
    std::string Text;
    std::vector<ListEntry> Items;
    int Selected = -1; // -1: no entry selected
    bool Visible = false;
    bool Locked = false; // no typing; the value comes from the list or a picker

    void clear() {
        Text.clear();
        Items.clear();
        Selected = -1;
    }
    void add(std::string text, int data) { Items.push_back({std::move(text), data}); }
    bool hasSelection() const { return Selected >= 0 && Selected < static_cast<int>(Items.size()); }
    int selectedData(int fallback = 0) const {
        return hasSelection() ? Items[static_cast<size_t>(Selected)].Data : fallback;
    }
    // Selects entry i and shows its text; an entry that does not exist is a no-op.
    bool select(int i) {
        if (i < 0 || i >= static_cast<int>(Items.size())) return false;
        Selected = i;
        Text = Items[static_cast<size_t>(i)].Text;
        return true;
    }
    // Sets the text; the first entry with the same text becomes the selected one, none when no entry matches.
    void setText(const std::string& t) {
        Text = t;
        Selected = -1;
        for (size_t j = 0; j < Items.size(); ++j)
            if (Items[j].Text == t) {
                Selected = static_cast<int>(j);
                break;
            }
    }
};

// One argument row of the editor: caption, value box, value-type box, picker button, swap box.
struct ArgumentRow {
    std::string Caption; // lbl_Var
    bool CaptionVisible = false;
    ComboBox Value;           // txt_Var
    ComboBox Type;            // txt_Opt, item data = value-type code (pointer forms 8 + code)
    bool SetVisible = false;  // cmd_Set
    bool SwapVisible = false; // chk_swap
    bool TargetRow = false;   // the value names a rung label (jump and call targets)
};

// What one argument row edits (ArgumentDescriptors).
struct ArgumentDescriptor {
    std::string Label; // empty: the row is hidden
    uint8_t Kind = 0;
    double Value = 0;
    int16_t IsRegister = 0; // -1: Value is a register number, shown as "%R" and the number
    std::array<int16_t, EditorValueTypeCount> AllowedValueTypes{};
    std::array<int16_t, EditorValueTypeCount> AllowedPointerTypes{};
    // The range of a constant row's value that the controller can hold.
    double Min = -std::numeric_limits<double>::infinity();
    double Max = std::numeric_limits<double>::infinity();
};

constexpr int ArgumentRowCount = 8;
inline bool isArgumentRow(int i) {
    return i >= 0 && i < ArgumentRowCount;
}

struct FunctionOption {
    std::string Caption;
    uint32_t Colour = 0;
    bool Visible = false;
    uint8_t Row = 0;
    uint8_t Column = 0;
};

struct EditorState {
    std::string Caption;        // window caption
    std::string FunctionsFrame; // f_Funzioni caption
    std::string OptionsFrame;   // f_argomenti caption
    int SelectedTab = 1;        // 1 "Comm" .. 9 "Display"
    std::array<FunctionOption, CatalogueSize> Options{};
    int ChosenOption = -1; // the option button whose value is true
    std::string Title;     // lbl_nomeFunz
    std::array<ArgumentRow, ArgumentRowCount> Rows{};
    bool TriggerVisible = false; // frm_trig
    bool TriggerChecked = false; // chk_trig
    ComboBox TriggerRegister;    // txt_Var(8)
    ComboBox TriggerMask;        // txt_Opt(8)
    std::string Label;           // txt_Label
    std::string Delay;           // txt_delay
    std::string DelayCaption;    // lbl_Delay
    bool DelayVisible = false;
};
