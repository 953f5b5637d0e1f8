#pragma once
// The instrument procedures the controller test bench shares: relay unit, and a multimeter and power
// supply chosen by the mode texts of that bench ("COM1".."COM8", "MANUALE", "USB...").
#include <optional>
#include <string>

class EventPump;
class InstrumentPort;
class UserDialogs;

// An instrument reached through an I/O library rather than a serial port.
class InstrumentIo {
  public:
    virtual ~InstrumentIo() = default;
    virtual bool WriteString(const std::string& text) = 0;
    // Nothing when the instrument did not answer.
    virtual std::optional<std::string> ReadString() = 0;
};

struct CollaudoPorts {
    InstrumentPort& mult;
    InstrumentPort& supply;
    InstrumentIo* usb = nullptr; // none: the "Usb" mode has no instrument
};

// The operator's own reading ("Lettura Mult"), asked again until it is a number; nothing on Cancel.
std::optional<double> AskReading(UserDialogs& dialogs);

// One reading in milli-units by the mode's first three letters (any case): "MAN" asks the operator,
// "Com" reads the serial multimeter, "Usb" the I/O instrument; nothing for another mode or no reading.
std::optional<double> LeggiMultimetro(const std::string& mode, CollaudoPorts ports, EventPump& pump,
                                      UserDialogs& dialogs, int limitMs);
// Supply on at volts, or off; with the port text "MANUALE" the operator is told to do it.
void ImpostaAlimentatore(const std::string& portText, InstrumentPort& supply, bool on, const std::string& volts,
                         EventPump& pump, UserDialogs& dialogs);
