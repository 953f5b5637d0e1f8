#pragma once
// The instrument procedures of the analog module bench: multimeter readings and function, calibrator
// frames and reference temperature, the operator's calibrator prompt, power supply and relay unit.
// Every wait for an instrument is bounded and lets events run, so STOP stays live and a silent
// instrument fails the step instead of freezing the window.
#include <optional>
#include <string>

#include "factorytest/instruments/instrument_commands.h"
#include "factorytest/instruments/instrument_port.h"

class EventPump;
class Log;
class UserDialogs;

struct InstrumentLimits {
    int multReplyMs = 3000;   // a multimeter reading must end with its line end within this
    int calibByteMs = 1000;   // each calibrator byte must be answered within this
    int supplyReplyMs = 1000; // the supply's current reply
};

// One reading from a multimeter on port: drops what came before, sends ":READ?", waits 1 s and then for
// a whole line within limitMs, as the meter ends its lines (the port learns that from the lines it sends;
// MultimeterReply judges them). Text that may be the rest of a line begun before the query, or of a line
// cut by a stray CR or LF, is passed over and logged with the reason; when the line falls quiet before a
// whole line followed, the meter is asked again, up to three queries in all. The reading in the
// instrument's own unit; nothing when none came in time or it was refused, logged with the reason.
std::optional<double> ReadMultimeter(InstrumentPort& port, EventPump& pump, Log& log, int limitMs);
// "SV " volts, then output on ("KOE") or off ("KOD"), with the supply's pauses.
void SwitchSupply(InstrumentPort& port, EventPump& pump, bool on, const std::string& volts);
// Instrument units (volts, amperes) to the milli-units every bench procedure works in, as read: the
// procedures round where they must.
double MilliUnits(double reading);

class BenchInstruments {
  public:
    BenchInstruments(InstrumentPorts& ports, EventPump& pump, UserDialogs& dialogs, Log& log)
        : ports_(ports), pump_(pump), dialogs_(dialogs), log_(log) {}

    InstrumentLimits limits;

    // One multimeter reading in milli-units (mV, mA); nothing when it did not come or was refused (logged).
    std::optional<double> GetMult();
    // ":SYST:" mode, and the function when the mode is "REM".
    void Conf_Mult(const std::string& mode, const std::string& function);
    void Beep();
    // Sends the frame byte by byte, each answered by one byte; the answers to data 1-4 replace them.
    // False (logged) when the port is not open or a byte is not answered in time.
    bool PutCal200(CalibratorFrame& frame);
    // Reference temperature in degrees from the calibrator; nothing (logged) when it did not answer, answered
    // more than a byte to a byte, or the temperature lies outside MinTamb..MaxTamb.
    std::optional<double> GetTamb();
    bool PutCalVal(double value);
    // Asks the operator to set the calibrator and waits for the box to close.
    void ChiediCalibratore(int stepCode, double value);
    void accendi_alim();
    void spegni_alim();
    void SetAlim(bool on, const std::string& volts);
    // Output current in milliamperes; -1 (logged) when no complete or plausible reply came.
    double ReadAlimCurr();
    // Relay slot-channel; false (logged) while the relay unit's port is closed: nothing is sent.
    bool Rele(int slot, int channel, bool close);
    // Opens the relay unit's port when it is closed; false (logged) when it does not open.
    bool relayPortOpen();

  private:
    void logFailure(const std::string& text);
    bool waitForInput(InstrumentPort& port, std::string& reply, size_t count, int limitMs);

    InstrumentPorts& ports_;
    EventPump& pump_;
    UserDialogs& dialogs_;
    Log& log_;
};
