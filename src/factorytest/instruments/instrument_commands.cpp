#include "factorytest/instruments/instrument_commands.h"

#include <charconv>
#include <cmath>

std::string RelayCommand(int slot, int channel, bool close) {
    const std::string ch = (channel < 10 ? "0" : "") + std::to_string(channel);
    return std::string(close ? "rout:close (@" : "rout:open (@") + std::to_string(slot) + ch + ")\r\n";
}

std::string MultSystemCommand(const std::string& mode) {
    return ":SYST:" + mode + "\r\n";
}

std::string MultConfigureCommand(const std::string& function) {
    return ":CONF:" + function + ":DC\r\n";
}

std::string SupplyVoltsCommand(const std::string& volts) {
    return "SV " + volts + "\r";
}

CalibratorFrame MakeCalibratorFrame(uint8_t command, uint8_t d1, uint8_t d2, uint8_t d3, uint8_t d4) {
    const auto sum = static_cast<uint8_t>((d1 + d2 + d3 + d4) & 127);
    return {1, command, d1, d2, d3, d4, sum};
}

CalibratorFrame CalibratorValueFrame(uint32_t v) {
    return MakeCalibratorFrame(129, static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16),
                               static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v));
}

double TambFromAnswers(uint8_t r3, uint8_t r4, uint8_t r5, uint8_t r6) {
    const uint32_t hundredths = static_cast<uint32_t>(r3) << 24 | static_cast<uint32_t>(r4) << 16 |
                                static_cast<uint32_t>(r5) << 8 | r6;
    // Exact to the hundredth: what follows works out its corrections in whole hundredths.
    return hundredths / 100.0;
}

std::string CalibratorUnit(int stepCode) {
    switch (stepCode) {
    case 1:
        return " mV";
    case 5:
        return " \xB0"
               "C TcK";
    case 12:
    case 17:
    case 18:
        return " Ohm";
    case 2:
        return " V";
    case 3:
        return " mA";
    default:
        return "";
    }
}

std::string CalibratorPrompt(int stepCode, double value) {
    return "Impostare calibratore " + DecimalText(value) + " " + CalibratorUnit(stepCode);
}

std::string DecimalText(double value) {
    if (value == 0) return "0"; // also -0
    // Single-precision values print as the single they are.
    const auto asFloat = static_cast<float>(value);
    char buf[64];
    auto [end, ec] = static_cast<double>(asFloat) == value
                         ? std::to_chars(buf, buf + sizeof buf, asFloat, std::chars_format::fixed)
                         : std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    // Too many digits for plain decimals (1e100, 1e-70): the shortest exact text, with its exponent.
    if (ec != std::errc()) end = std::to_chars(buf, buf + sizeof buf, value).ptr;
    return std::string(buf, end);
}

bool IsLineText(char c) {
    return c == '\t' || (c >= ' ' && c <= '~');
}

std::optional<double> ParseReading(const std::string& text) {
    size_t b = text.find_first_not_of(" \t\r\n");
    size_t e = text.find_last_not_of(" \t\r\n");
    if (b == std::string::npos) return std::nullopt;
    if (text[b] == '+') ++b;
    double v = 0;
    auto [p, ec] = std::from_chars(text.data() + b, text.data() + e + 1, v);
    if (ec != std::errc() || p != text.data() + e + 1 || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<double> ParseSupplyCurrent(const std::string& reply) {
    if (reply.size() < 8 || reply.size() > MaxReplyBytes) return std::nullopt;
    const auto amperes = ParseReading(reply.substr(1, 5));
    if (!amperes || *amperes < 0 || *amperes > MaxSupplyAmps) return std::nullopt;
    return amperes;
}
