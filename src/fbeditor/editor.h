#pragma once
// The function-block editor without its window: one method per handler of the window, the rung
// opening and the rebuild of a stored rung that project load and rung restore use.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/app_context.h"
#include "fbeditor/arg_codec.h"
#include "fbeditor/catalogue.h"
#include "fbeditor/editor_state.h"
#include "fbeditor/rung_row.h"

// What the Set button of a row asks for; the window shows the picker and hands the choice back.
struct PickerRequest {
    enum Kind { None, Value, Table } Picker = None;
    std::string StartText;  // Value: the row's text
    int TablePosition = -1; // Table: the selected table, -1 when none
};

// Thrown by an encoding that meets a value its field cannot hold; CompilaComando turns it into false and
// keeps the row and the reason for the message.
struct RejectedValue {
    int Row = -1;    // the argument row, ArgumentRowCount for the trigger, DelayRow, -1 when not known
    std::string Why; // what the row must hold; empty: its range when it has one
};
constexpr int DelayRow = ArgumentRowCount + 1;
// What a 16-bit field holds (a negative value is kept plus 65536), and what the delay box holds.
inline constexpr const char* SixteenBitRange = "from -32768 to 65535";
inline constexpr const char* DelayRange = "a whole number from -32768 to 65535";

class Editor {
  public:
    explicit Editor(AppContext& ctx);

    // Form_Load: captions, the catalogue's buttons and the "Comm" tab; binds the editor to the current rung.
    void load();
    // Form_Unload.
    void unload() {
        Caricato = false;
        ++setups_;
    }
    // Counts loads, unloads, bindings and function set-ups: a changed count means the rows were rebuilt.
    uint32_t setupCount() const { return setups_; }
    // SetRes: captions of the window and its two frames in the current language.
    void setRes();
    // Tab_Funzioni_Click for tab 1..9; any other number is a no-op.
    void tabClick(int tab);
    // opt_Funzione_Click: choose function k (0..70) and set the editor up for it; other k are no-ops.
    void chooseFunction(int k);
    // ImpostaFunzione.
    void setupFunction(int k);
    // ShowArg: redisplay row i from its descriptor.
    void ShowArg(int i);
    // txt_Opt_Click: entry `entry` of row i's type box chosen.
    void typeClick(int i, int entry);
    // The row's value text typed or set; a list entry with the same text becomes selected.
    void setRowText(int i, const std::string& text);
    // txt_Var_Click: a choice in row i (only row 0 of the device blocks acts).
    void rowClick(int i);
    // ElencoEtichette: the labels of the current section's rungs into row i's list.
    void ElencoEtichette(int i);
    // cmd_Set_Click: what picker row i needs; None for rows that have none.
    PickerRequest setClick(int i) const;
    // The value picker closed with this text; the table picker closed with this table position.
    void valuePicked(int i, const std::string& text);
    void tablePicked(int i, int position);
    // A register clicked in the register view goes into the current row when it holds a register.
    void registerClicked(int reg, uint8_t valueType);
    // CompilaComando: encodes the editor into the bound rung; false leaves the stored rung untouched.
    bool CompilaComando();
    // cmd_AddFunc_Click: encode, then close and mark the project modified, or report "Error: Check Values".
    bool confirm();

    // ApriRung: make rung p of the current section current and open it in the editor.
    void openRung(int16_t p);
    // Binds the editor to another rung (project load works on rungs it appends).
    bool bind(int16_t section, int16_t rung);

    // The stored rung the editor edits, and the working copy that set-ups write before any encoding.
    CommandRecord& stored();
    CommandRecord& work() { return work_; }
    AppContext& context() { return ctx_; }
    const ModelRecord& model() const { return ctx_.model(); }
    const std::string& uiText(int k) const;

    EditorState state;
    std::array<ArgumentDescriptor, ArgumentRowCount> Args{};
    bool Caricato = false;
    uint8_t ArgCorrente = 0;
    int16_t FunzioneCorrente = 0;
    int16_t CanaleMin = 0, CanaleMax = 7, NumeroCanali = 8;
    // The program view's row of the rung as the last successful encoding left it.
    RungRow row;
    // Called after every successful encoding with the rung's section, number and row.
    std::function<void(int16_t, int16_t, const RungRow&)> rowWritten;

  private:
    // The shell's name of value type k (0..12).
    const std::string& typeName(int k) const;
    void layoutTab();
    void resetRows();
    void readTrigger();

    // "Error: Check Values", with the row the last encoding refused and what it must hold.
    std::string rejectionText() const;

    AppContext& ctx_;
    RejectedValue rejected_;
    int16_t section_ = 0;
    int16_t rung_ = 0;
    CommandRecord work_;
    uint32_t setups_ = 0;
};

// Re-encodes a stored rung from its stored texts through the editor, as project load does; false when
// the encoding fails (the rung then stays as it was). An empty rung is left as it is.
bool rebuildRung(AppContext& ctx, int16_t section, int16_t rung);
// The same, also giving the rung's program view row.
bool rebuildRungWithRow(AppContext& ctx, int16_t section, int16_t rung, RungRow& row);
