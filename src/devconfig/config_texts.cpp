// SetRes of the configuration window: captions of the language in use and the fixed pick lists.
#include <cstdio>
#include <initializer_list>

#include "core/app_context.h"
#include "devconfig/config_window.h"

namespace {

struct Caption {
    const char* Control;
    int Key; // UiText entry
};

constexpr Caption CaptionKeys[]{
    {"frm_Config2", 111},     {"Label1(0)", 112},       {"Label1(1)", 113},       {"cmd_Read(0)", 114},
    {"cmd_start", 115},       {"cmd_stop", 116},        {"Frm_Prog", 117},        {"frm_PupSafe", 119},
    {"frm_RTC", 121},         {"frm_Disp", 122},        {"Label10", 123},         {"Label6", 124},
    {"Label5", 125},          {"Label21", 126},         {"Label18(0)", 127},      {"lbl_Mode", 128},
    {"opt_DispMode(1)", 129}, {"opt_DispMode(0)", 130}, {"lbl_Lumin", 131},       {"lbl_Contr", 132},
    {"Label8(0)", 135},       {"Label8(1)", 135},       {"Label13(0)", 142},      {"cmd_sync", 145},
    {"frm_AO", 146},          {"Label17", 147},         {"Label20", 148},         {"Label19", 149},
    {"frm_DI", 150},          {"frm_DO", 151},          {"cmd_clear_latch", 153}, {"Label4", 155},
};

using Items = std::vector<std::pair<std::string, int>>;

// Item data: the bits of the port-setting register (baud code in bits 0-2, 8 two stop bits, 32 even,
// 64 odd parity).
Items baudItems() {
    Items items;
    int code = 0;
    for (const char* speed : {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"})
        items.emplace_back(speed, code++);
    return items;
}

} // namespace

// Both ports list the speeds with their codes, so a port write sends the speed chosen.
void FillPortBaud(PickList& list) {
    list.refill(baudItems());
}

void ConfigWindow::SetRes() {
    const auto& text = ctx_.shell.UiText;
    for (const Caption& c : CaptionKeys)
        this->Captions[c.Control] = text[static_cast<size_t>(c.Key)];
    this->Captions["Frm_com(0)"] = "Port 0 (RS485 " + text[133] + ")";
    this->Captions["Frm_com(1)"] = "Port 1 (RS485 " + text[134] + ")";
    this->Captions["Label11(0)"] = text[136] + " (ms)";
    this->Captions["Label12(0)"] = "Timeout";
    this->Captions["Label18(1)"] = "En";
    this->Captions["Label11(1)"] = "Timeout (ms)";

    Items days, months, years;
    for (int d = 1; d <= 31; ++d) {
        char buf[4];
        std::snprintf(buf, sizeof buf, "%02d", d);
        days.emplace_back(buf, 0);
    }
    for (int m = 1; m <= 12; ++m)
        months.emplace_back(ctx_.shell.MonthNames[static_cast<size_t>(m)], 0);
    for (int y = 2000; y <= 2099; ++y)
        years.emplace_back(std::to_string(y), 0);
    // A first filling selects the first item; a language switch keeps what was chosen.
    const std::initializer_list<std::pair<PickList*, Items*>> dates{
        {&Day, &days}, {&Month, &months}, {&Year, &years}};
    for (auto [list, items] : dates) {
        const bool first = list->Items.empty();
        list->refill(std::move(*items));
        if (first) list->Selected = 0;
    }
    FillPortBaud(Baud[1]);
    for (int port : {1, 0}) {
        Parity[static_cast<size_t>(port)].refill({{"None", 0}, {"Even", 32}, {"Odd", 64}});
        StopBits[static_cast<size_t>(port)].refill({{"1", 0}, {"2", 8}});
    }
    changed();
}
