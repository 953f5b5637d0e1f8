#include "factorytest/instruments/instrument_commands.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <string_view>

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

namespace {

// The rest of a line (its noise left out) makes a number of the head: the head is that line's.
bool CompletesReading(const std::string& head, std::string_view rest) {
    if (head.find_first_not_of(" \t") == std::string::npos || head.size() + rest.size() > MaxReplyBytes)
        return false;
    std::string line = head;
    std::copy_if(rest.begin(), rest.end(), std::back_inserter(line), IsLineText);
    return ParseReading(line).has_value();
}

} // namespace

MultimeterReply ParseMultimeterReply(const std::string& reply, const OpenLine& open) {
    constexpr const char* Ends = "\r\n";
    constexpr auto None = std::string::npos;
    MultimeterReply out;
    size_t start = 0;
    if (!open.head.empty()) { // the rest of the line in progress, up to its end
        const size_t restEnd = std::min(reply.find_first_of(Ends), reply.size());
        // Text that stopped coming is told by its rest, once that has ended.
        if (open.arriving || (restEnd < reply.size() &&
                              CompletesReading(open.head, std::string_view(reply).substr(0, restEnd))))
            out.skipped = start = restEnd;
    }
    // Blank lines, noise, and the query itself from a line that echoes what it is sent, are no reading.
    const std::string_view query(MultReadCommand, std::strlen(MultReadCommand) - 2);
    for (;;) {
        while (start < reply.size() && !IsLineText(reply[start])) // line ends are no text either
            ++start;
        const size_t after = start + query.size();
        if (reply.compare(start, query.size(), query) != 0 || reply.find_first_of(Ends, after) != after)
            break;
        start = after;
    }
    const size_t end = reply.find_first_of(Ends, start);
    const size_t length = (end == None ? reply.size() : end) - start;
    const bool restTooLong = out.skipped > MaxReplyBytes;
    const std::string bound = std::to_string(MaxReplyBytes) + " bytes";
    if (restTooLong || length > MaxReplyBytes) {
        const bool ended = restTooLong ? out.skipped < reply.size() : end != None;
        out.refusal = (ended ? "a line longer than " : "no line end within ") + bound;
        return out;
    }
    // Nor do endless blank lines or echoes hold the read.
    if (start - out.skipped > MaxReplyBytes) {
        out.refusal = "no reading within " + bound;
        return out;
    }
    if (end == None) return out;
    const auto value = ParseReading(reply.substr(start, length));
    const std::string range = DecimalText(MaxMultimeterReading);
    if (!value)
        out.refusal = "the reply is no number";
    else if (std::fabs(*value) > MaxMultimeterReading)
        out.refusal = "the reading " + DecimalText(*value) + " lies outside -" + range + ".." + range;
    else
        out.value = value;
    return out;
}

std::optional<double> ParseSupplyCurrent(const std::string& reply) {
    if (reply.size() < 8 || reply.size() > MaxReplyBytes) return std::nullopt;
    const auto amperes = ParseReading(reply.substr(1, 5));
    if (!amperes || *amperes < 0 || *amperes > MaxSupplyAmps) return std::nullopt;
    return amperes;
}
