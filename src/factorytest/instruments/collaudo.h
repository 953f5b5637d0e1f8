#pragma once
// The instrument procedures the controller test bench shares: relay unit, and a multimeter and power
// supply chosen by the mode texts of that bench ("COM1".."COM8", "MANUALE").
#include <optional>
#include <string>

class EventPump;
class InstrumentPort;
class Log;
class UserDialogs;

struct CollaudoPorts {
    InstrumentPort& mult;
    InstrumentPort& supply;
};

// The operator's own reading ("Lettura Mult"), asked again until it is a number; nothing on Cancel.
std::optional<double> AskReading(UserDialogs& dialogs);

// One reading in milli-units by the mode's first three letters (any case): "MAN" asks the operator,
// "Com" reads the serial multimeter (its refusals logged); nothing for another mode or no reading. There
// is no mode for a multimeter on USB other than through a serial adapter, a COM port like any other.
std::optional<double> LeggiMultimetro(const std::string& mode, CollaudoPorts ports, EventPump& pump,
                                      UserDialogs& dialogs, Log& log, int limitMs);
// Supply on at volts, or off; with the port text "MANUALE" the operator is told to do it.
void ImpostaAlimentatore(const std::string& portText, InstrumentPort& supply, bool on,
                         const std::string& volts, EventPump& pump, UserDialogs& dialogs);
