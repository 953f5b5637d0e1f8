#pragma once
// The input types each model offers on its analog channels: the name the user sees and the code the
// module stores. The same name carries different codes in different model families.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct TypeEntry {
    const char* Name;
    uint8_t Code;
    int8_t At = -1; // list position it is inserted at; -1: its place in the order given
};
using TypeList = std::span<const TypeEntry>;

enum class Preselect { None, First, Register34 };

// Controls of one Analog In row, one bit each.
enum AiControl : uint16_t {
    AiType = 1,      // cmb_InputType
    AiLabel = 2,     // Label3
    AiValue = 4,     // txt_Input
    AiEnable = 8,    // chk_En
    AiBreak = 16,    // pBreak
    AiSync = 32,     // txt_Input_sync
    AiOffset = 64,   // txt_Input_offset
    AiZeroSpan = 128 // cmd_In_Zero, cmd_In_Span
};
// Column headers and buttons of the tab.
enum AiExtra : uint16_t {
    HeadEn = 1,
    HeadBr = 2,
    HeadSync = 4,
    HeadOffset = 8,
    ButtonWrite = 16, // cmd_Invia(6)
    ButtonSync = 32   // cmd_sync
};

// How a model's Analog In tab looks: rows 0..Rows-1 show PerRow, row 0 also Row0.
struct AiLook {
    uint16_t Row0;
    uint16_t PerRow;
    uint8_t Rows;
    uint16_t Extras;
};

struct ModelTypes {
    int Entry;                     // ModelNames entry, or entry::EightChannelVariant
    std::array<TypeList, 8> Lists; // an empty list: the row is not filled
    Preselect Pre;
    bool Enabled;
    AiLook Look;
};

// The Analog In data of the model, nullptr when its tab shows nothing.
const ModelTypes* TypesOf(int entry);

// One row's list in the window: entries as AggiungiTipo placed them, and the selection.
struct TypeRow {
    struct Item {
        std::string Name;
        uint8_t Code = 0;
    };
    std::vector<Item> Items;
    int Selected = -1;
    bool Enabled = true;

    // Inserts at position; a position beyond the end changes nothing.
    void AggiungiTipo(const std::string& name, uint8_t code, size_t position);
    // The entry carrying the code, the later one when two do; the selection stays when none does.
    void selectCode(uint8_t code);
    const Item* selected() const;
};
using TypeRows = std::array<TypeRow, 8>;

// Empties every row and fills those the model's lists name, with their preselection (register 34 aside)
// and enabled state.
void FillTypeRows(TypeRows& rows, const ModelTypes* types);
