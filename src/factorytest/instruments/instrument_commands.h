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

// The supply's current reply ("A0.123A" CR): amperes from characters 2-6. Nothing when the reply is
// shorter than 8 or longer than MaxReplyBytes bytes, or the value is no number or outside
// 0..MaxSupplyAmps.
std::optional<double> ParseSupplyCurrent(const std::string& reply);
