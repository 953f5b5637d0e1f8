#pragma once
// ImpostaModello: what the configuration window shows for a model text on a tab. Pure: the same model,
// tab and build always give the same page, whatever was shown before.
#include <array>
#include <cstdint>
#include <string>

#include "core/model_record.h"
#include "devconfig/type_lists.h"

enum ConfigTab : int {
    TabSystem = 1,
    TabEthernet,
    TabComm,
    TabAnalogIn,
    TabAnalogOut,
    TabDigitalIn,
    TabDigitalOut,
    TabTrip,
};
constexpr int ConfigTabCount = 8;
// Fixed in every language.
constexpr std::array<const char*, ConfigTabCount> ConfigTabCaptions{
    "System", "Ethernet", "Comm", "Analog In", "Analog Out", "Digital In", "Digital Out", "Trip"};

struct ConfigLayout {
    int Page = 0; // the tab whose page frame is shown; 0 when the tab's page stays hidden
    // System
    bool Rtc = false;  // frm_RTC
    bool Disp = false; // frm_Disp
    // Comm
    bool Com0 = false, Com1 = false;
    bool Com0ParStop = false; // parity and stop bits of port 0 enabled
    // Analog Out
    int OutRows = 0;
    bool OutEnabled = false; // cmb_Out(0..7)
    // Digital In, Digital Out
    int Inputs = 0;  // DI(0..n-1)
    int Outputs = 0; // frm_dout_ch(0..n-1)
    // Analog In: the model's type lists and controls; nullptr when the tab is empty
    const ModelTypes* Types = nullptr;
    std::array<uint16_t, 8> AiRows{}; // AiControl bits per row
    uint16_t AiExtras = 0;            // AiExtra bits
};

ConfigLayout ImpostaModello(const ModelNameList& names, const std::string& model, int tab,
                            bool buildInternal);
