#pragma once
// The command set of the bench instruments: relay unit, multimeter and power supply texts, and the
// calibrator's 7-byte frames.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

// Relay unit: close or open relay slot-channel ("rout:close (@105)" CR LF for slot 1, channel 5).
std::string RelayCommand(int slot, int channel, bool close);

// Multimeter.
std::string MultSystemCommand(const std::string& mode);        // ":SYST:" mode CR LF
std::string MultConfigureCommand(const std::string& function); // ":CONF:" function ":DC" CR LF
inline constexpr const char* MultReadCommand = ":READ?\r\n";
inline constexpr const char* MultBeepCommand = "SYST:BEEP\r\n";

// Power supply.
std::string SupplyVoltsCommand(const std::string& volts); // "SV " volts CR
inline constexpr const char* SupplyOnCommand = "KOE\r";
inline constexpr const char* SupplyOffCommand = "KOD\r";
inline constexpr const char* SupplyCurrentCommand = "A\r";

// Calibrator frame: address, command, data 1-4, checksum = (data 1 + .. + data 4) And 127.
using CalibratorFrame = std::array<uint8_t, 7>;
CalibratorFrame MakeCalibratorFrame(uint8_t command, uint8_t d1, uint8_t d2, uint8_t d3, uint8_t d4);
// The output value as an unsigned 32-bit number, most significant byte first (command 129).
CalibratorFrame CalibratorValueFrame(uint32_t value);

// The six frames that read the reference temperature; the answers to the data bytes of frame 5 carry it.
inline constexpr std::array<std::array<uint8_t, 5>, 6> TambFrames{{
    {130, 1, 0, 0, 0},
    {128, 8, 1, 1, 0},
    {128, 8, 1, 0, 0},
    {128, 8, 1, 0, 192},
    {1, 8, 1, 0, 192},
    {130, 0, 0, 0, 0},
}};
constexpr int TambReadingFrame = 4;
// Hundredths of a degree, most significant byte first, in the four data answers.
double TambFromAnswers(uint8_t r3, uint8_t r4, uint8_t r5, uint8_t r6);

// Unit of a step code in the calibrator prompt (" mV", " Ohm", ...); empty for other codes.
std::string CalibratorUnit(int stepCode);
// "Impostare calibratore " + value + " " + unit.
std::string CalibratorPrompt(int stepCode, double value);

// A number as plain decimal text, as few digits as tell it exactly: 100, 14.5, 299.5, -0.25; a number of
// more digits than that takes an exponent (1e+100).
std::string DecimalText(double value);
// A byte of an instrument's text: printable ASCII, blank and TAB. Anything else (0x00, 0xFF, other
// control bytes) is noise on the line, such as an instrument's power-on glitch, and part of no line.
bool IsLineText(char c);
// An instrument's reply as a number: blanks, a leading "+" and the line end are allowed around it
// ("+1.450000E+01\r\n"); anything else reads as nothing.
std::optional<double> ParseReading(const std::string& text);

// No instrument answers with more than this: a longer reply, or a reply line without its end within
// it, is garbage and the read ends there.
constexpr size_t MaxReplyBytes = 256;
// The instruments' physical ranges: a value outside is no reading.
constexpr double MinTamb = -50, MaxTamb = 200; // the calibrator's reference temperature, degrees
constexpr double MaxSupplyAmps = 10;           // the supply's output current

constexpr double MaxMultimeterReading = 1000; // the multimeter's largest reading, volts or amperes

// A multimeter's reply to ":READ?", read from the bytes that came after the query.
struct MultimeterReply {
    std::optional<double> value; // in the instrument's unit
    std::string refusal;         // why there is no value; empty while the reply may still be coming
    size_t skipped = 0;          // bytes passed over: the end of a line begun before the query
    bool done() const { return value || !refusal.empty(); }
};
// Text a meter's line held when the query went: the head of a line the meter was sending on its own, or
// stray text on the idle line.
struct OpenLine {
    std::string head;      // the text since the last line end, noise left out; empty: none
    bool arriving = false; // it was still coming when the query went
};
// The reading is the first whole line of the reply; blank lines, noise bytes before the line, and an
// echo of the query are passed over. A query that caught a meter in the middle of a line of its own gets
// a reply that opens with the rest of that line, up to its line end: that rest is passed over. The open
// text is such a line's head when it was still arriving, or when it holds more than blanks and the rest
// completes it into a number; otherwise it was stray text and the reply's first line is the reading.
// Where both could be (a stray digit before a reading without sign) the line is passed over: a reading
// then missing is refused, while a tail taken would be a wrong one.
// Refused: a line (or as many bytes without a line end) longer than MaxReplyBytes, a line that is no number,
// a number beyond MaxMultimeterReading either way.
MultimeterReply ParseMultimeterReply(const std::string& reply, const OpenLine& open);
// The supply's current reply ("A0.123A" CR): amperes from characters 2-6. Nothing when the reply is
// shorter than 8 or longer than MaxReplyBytes bytes, or the value is no number or outside
// 0..MaxSupplyAmps.
std::optional<double> ParseSupplyCurrent(const std::string& reply);
