#pragma once
// frm_Config2 without its window: the model list, the layout of the eight tabs, the input-type lists,
// the fixed pick lists and texts, and the commands that read, write and poll the module. The window only
// draws this state and forwards the user's clicks.
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "devconfig/config_layout.h"
#include "devconfig/pick_list.h"
#include "devconfig/type_lists.h"

struct AppContext;

// The eight speeds with their codes 0..7.
void FillPortBaud(PickList& list);

class ConfigWindow {
  public:
    explicit ConfigWindow(AppContext& ctx);

    std::string NomeModello; // the model the window opens on; only the load reads it
    int16_t Pronto = -1;     // False while a read fills the controls
    std::string Indirizzo;   // the module's Modbus address as typed

    std::vector<std::string> Models; // modello's entries
    std::string Model;               // modello's text: the picked entry, or what was typed
    int Tab = TabSystem;             // the tab last chosen, 1..8
    ConfigLayout Layout;
    TypeRows Types;                                 // cmb_InputType(0..7)
    std::array<PickList, 8> OutTypes;               // cmb_Out(0..7)
    std::array<std::string, 8> Safe;                // txt_Safe(0..7)
    std::array<bool, 3> Events{};                   // Led_Ev(0..2) on
    PickList Day, Month, Year;                      // txt_giorno, txt_mese, txt_anno
    std::array<PickList, 2> Baud, Parity, StopBits; // cmb_baud, cmb_par, cmb_stop of ports 0 and 1
    bool CalendarShown = false;                     // MonthView1
    std::map<std::string, std::string> Captions;    // by control name, "Frm_com(0)" for an array element
    std::function<void()> onChanged;

    bool polling() const { return polling_; }
    // The models whose input types this window reads and writes itself (module memory, register 34).
    bool readsInputTypes() const;

    // Load: texts, address, model list, the model of NomeModello, layout.
    void Form_Load();
    // Captions and the fixed pick lists of the language in use; every selection is kept.
    void SetRes();
    // The user picked or typed a model text.
    void modello_Click(const std::string& text);
    void TabStrip1_Click(int tab);

    // One read of the module's input types for the model; false when the model has nothing to read.
    bool cmd_read_Click(int index);
    // The write button of a panel (6: Analog In).
    void cmd_Invia_Click(int index);
    void cmd_start_Click();
    void cmd_stop_Click();
    void cmd_sync_Click();
    void cmd_Set_Click(int index);
    void cmd_Toggle_Click(int index);
    void cmd_calendar_Click();
    // A date picked in the calendar goes to the day, month and year lists, and the calendar closes.
    void MonthView1_DateClick(int year, int month, int day);

    // The port's setting value: the sum of the selected item data of its baud, parity and stop-bit
    // lists; nothing when one of them has no selection.
    std::optional<int> PortSetting(int port) const;

  private:
    void ImpostaModello();
    void changed();
    int modelEntry() const;
    // The address box as a node; a message and nothing when it is no number from 0 to 255.
    std::optional<uint8_t> node();
    void selectFromRegister34(uint8_t node);
    void refuse(const std::string& text);

    AppContext& ctx_;
    bool polling_ = false;
    std::optional<int> typesEntry_; // the model the type lists were filled for
};
