#include "devconfig/config_layout.h"

#include <algorithm>
#include <initializer_list>

#include "devconfig/model_entries.h"

namespace {

using namespace entry;

bool in(int m, std::initializer_list<int> group) {
    return std::find(group.begin(), group.end(), m) != group.end();
}

bool ethernetIo(int m) {
    return m == JXV9568 || m == JXV9921 || (m >= JXV9704 && m <= JXV9787);
}

// The controllers with both ports and an Ethernet page.
bool controller(int m) {
    return in(m, {JXV8410, JXV8410IO, JXV8410DL, JXV8410DLIO, JXV8410USB, JXV8250, JXV8250DL, JXV8250USB});
}

void system(ConfigLayout& l, int m) {
    l.Page = TabSystem;
    l.Rtc = in(m, {JXV8410DL, JXV8410DLIO, JXV8250DL, JXV8410USB, JXV8250USB});
    l.Disp = in(m, {JXV8480, JXV8480AI});
}

void comm(ConfigLayout& l, int m, bool internal) {
    if (ethernetIo(m)) return;
    l.Page = TabComm;
    const bool both = controller(m) || m == JXV8480 || (m == JXV8480AI && internal);
    l.Com0 = m != JXV2569;
    l.Com1 = both;
    l.Com0ParStop = both || m == JXV8480AI;
}

void analogIn(ConfigLayout& l, int m) {
    l.Types = TypesOf(m);
    if (!l.Types) return;
    l.Page = TabAnalogIn;
    const AiLook& look = l.Types->Look;
    for (int k = 0; k < look.Rows; ++k)
        l.AiRows[static_cast<size_t>(k)] = look.PerRow;
    l.AiRows[0] |= look.Row0;
    l.AiExtras = look.Extras;
}

void analogOut(ConfigLayout& l, int m) {
    struct Rows {
        int n;
        bool enabled;
    };
    Rows r{0, false};
    if (in(m, {JXV7541, JXV9663})) r = {2, true};
    if (in(m, {JXV7020, JXV9930})) r = {4, true};
    if (m == JXV7287) r = {8, false};
    if (in(m, {JXV7593, JXV8250, JXV8250DL, JXV8250USB})) r = {2, false};
    if (r.n == 0) return;
    l.Page = TabAnalogOut;
    l.OutRows = r.n;
    l.OutEnabled = r.enabled;
}

int digitalInputs(int m) {
    if (in(m, {JXV8410IO, JXV8410DLIO, JXV8410USB, JXV7038, JXV7632})) return 4;
    if (in(m, {JXV7556, JXV9568, JXV9921})) return 8;
    if (m == JXV9704) return 16;
    if (m == JXV7106) return 12;
    if (in(m, {JXV7593, KELMO7593})) return 3;
    if (in(m, {JXV8250, JXV8250DL, JXV8250USB})) return 2;
    return 0;
}

int digitalOutputs(int m) {
    if (in(m, {JXV8410IO, JXV8410DLIO, JXV8410USB})) return 2;
    if (in(m, {JXV7038, JXV9568})) return 4;
    if (in(m, {JXV7632, JXV7556, JXV9921})) return 8;
    if (in(m, {JXV7593, KELMO7593})) return 3;
    if (in(m, {JXV8250, JXV8250DL, JXV8250USB})) return 2;
    return 0;
}

} // namespace

ConfigLayout ImpostaModello(const ModelNameList& names, const std::string& model, int tab,
                            bool buildInternal) {
    const int m = ModelEntryOf(names, model);
    ConfigLayout l;
    switch (tab) {
    case TabSystem:
        system(l, m);
        break;
    case TabEthernet:
        if (controller(m) || ethernetIo(m)) l.Page = TabEthernet;
        break;
    case TabComm:
        comm(l, m, buildInternal);
        break;
    case TabAnalogIn:
        analogIn(l, m);
        break;
    case TabAnalogOut:
        analogOut(l, m);
        break;
    case TabDigitalIn:
        l.Inputs = digitalInputs(m);
        l.Page = l.Inputs ? TabDigitalIn : 0;
        break;
    case TabDigitalOut:
        l.Outputs = digitalOutputs(m);
        l.Page = l.Outputs ? TabDigitalOut : 0;
        break;
    case TabTrip:
        if (m == JXV2569) l.Page = TabTrip;
        break;
    default:
        break;
    }
    return l;
}
