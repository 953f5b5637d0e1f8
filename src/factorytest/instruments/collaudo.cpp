#include "factorytest/instruments/collaudo.h"

#include <algorithm>
#include <cctype>

#include "core/event_pump.h"
#include "core/user_dialogs.h"
#include "factorytest/instruments/bench_instruments.h"

std::optional<double> AskReading(UserDialogs& dialogs) {
    for (;;) {
        const auto entry = dialogs.inputBox("Lettura Mult");
        if (!entry) return std::nullopt;
        if (auto v = ParseReading(*entry)) return v;
    }
}

std::optional<double> LeggiMultimetro(const std::string& mode, CollaudoPorts ports, EventPump& pump,
                                      UserDialogs& dialogs, Log& log, int limitMs) {
    std::string kind = mode.substr(0, 3);
    std::transform(kind.begin(), kind.end(), kind.begin(), [](unsigned char c) { return std::tolower(c); });
    std::optional<double> reading;
    if (kind == "man") {
        reading = AskReading(dialogs);
    } else if (kind == "com") {
        reading = ReadMultimeter(ports.mult, pump, log, limitMs);
    }
    return reading ? std::optional(MilliUnits(*reading)) : std::nullopt;
}

void ImpostaAlimentatore(const std::string& portText, InstrumentPort& supply, bool on,
                         const std::string& volts, EventPump& pump, UserDialogs& dialogs) {
    if (portText != "MANUALE")
        SwitchSupply(supply, pump, on, volts);
    else
        dialogs.messageBox(on ? "Alim = ON, " + volts + " Volt" : std::string("Alim = OFF"), MsgButtons::Ok);
}
