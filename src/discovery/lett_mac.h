#pragma once
// The MAC address register window's logic: reads a device's MAC over the link, assigns entries,
// loads and saves the list file and writes reports. The window only shows lines and forwards clicks.
#include <functional>
#include <string>
#include <vector>

#include "core/user_dialogs.h"
#include "discovery/mac_register.h"

struct AppContext;

class LettMac {
  public:
    struct Boxes { // txt_pfc, txt_anno, txt_cliente as they stand
        std::string pfc;
        std::string anno = "09";
        std::string cliente;
    };

    explicit LettMac(AppContext& ctx) : ctx_(ctx) {}

    void Command1_Click(const Boxes& boxes);               // read the device's MAC and add it
    void Command2_Click(int selected, const Boxes& boxes); // assign the selected entry; -1: none
    void cmd_loadFile_Click();
    bool cmd_SaveFile_Click(); // true when the list was written
    void cmd_report_Click(const MacReportFilter& filter, const std::string& dateTime);
    bool Form_Unload(); // false keeps the window open
    // A typed character the list file cannot hold: said, and nothing is done with the text.
    void refuseCharacter(const std::string& box, char32_t c);

    std::vector<std::string> lines() const; // lstMAC, slot order
    std::function<void()> AggiungiVoce;     // the window refills its list

    std::vector<MacEntry> ElencoMAC; // the slots in use: NumeroVoci is its size
    std::string FileElenco;
    bool ElencoModificato = false;

  private:
    bool chooseListFile(bool forSave);
    bool askSaveFirst(); // false: the user stays with the modified list
    void CaricaFile();
    void refill();
    void message(const std::string& text, MsgIcon icon);

    AppContext& ctx_;
};
