#include "factorytest/instruments/multimeter_reply.h"

#include <cmath>
#include <cstring>
#include <utility>

#include "factorytest/instruments/instrument_commands.h"

namespace {

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string EndsItsLines(LineEnding ending) {
    return ending == LineEnding::Unknown ? "whose line end is not known yet"
                                         : "which ends its lines " + LineEndingName(ending);
}

bool EndsWithALone(LineEnding ending) {
    return ending == LineEnding::Cr || ending == LineEnding::Lf;
}

} // namespace

void MultimeterReply::judge(const FollowedLine& line) {
    if (line.text.size() > MaxReplyBytes) {
        refusal = "a line longer than " + std::to_string(MaxReplyBytes) + " bytes";
        return;
    }
    const std::string rest = line.text.substr(line.before);
    const std::string echo(MultReadCommand, std::strlen(MultReadCommand) - 2);
    if (!HoldsText(rest) || rest == echo) return;
    if (auto why = whyPassOver(line, rest, !std::exchange(textCame_, true))) {
        passedOver.push_back(*why);
        return;
    }
    const auto reading = ParseReading(rest);
    const std::string range = DecimalText(MaxMultimeterReading);
    if (!reading)
        refusal = "the reply is no number";
    else if (std::fabs(*reading) > MaxMultimeterReading)
        refusal = "the reading " + DecimalText(*reading) + " lies outside -" + range + ".." + range;
    else
        value = reading;
}

std::optional<std::string> MultimeterReply::whyPassOver(const FollowedLine& line, const std::string& rest,
                                                        bool first) const {
    const std::string input = " in the input of " + query_.meter;
    const bool lone = EndsWithALone(line.ending);
    if (HoldsText(line.text.substr(0, line.before)) || (lone && first && !query_.waited.empty()))
        return Quoted(query_.waited) + " was waiting, without a line end," + input +
               " when the read began: the first line after the query, " + Quoted(rest) + ", may be its rest";
    // One rule for every cut: the text it ended is the head of a cut line, the text after it the rest.
    if (line.after || !line.whole()) {
        const LineCut cut = line.after.value_or(LineCut{line.by, rest});
        const std::string passed = line.after ? "the text after it, " + Quoted(rest) + "," : "that text";
        const std::string is = line.ending == LineEnding::Unknown ? "may be" : "is";
        return "a lone " + LineEndingName(cut.by) + " came after " + Quoted(cut.text) + input + ", " +
               EndsItsLines(line.ending) + ": " + passed + " " + is + " the " +
               (line.after ? "rest" : "head") + " of the line it cut";
    }
    if (lone && first && query_.cutShortlyBefore)
        return "a line end came after " + Quoted(*query_.cutShortlyBefore) + input + " less than " +
               std::to_string(query_.limitMs) +
               " ms before the read began: the first line after the query, " + Quoted(rest) +
               ", may be the rest of the line it cut";
    return std::nullopt;
}

void MultimeterReply::bound(const LineFollower& lines) {
    if (done()) return;
    const std::string bytes = std::to_string(MaxReplyBytes) + " bytes";
    if (lines.head().size() > MaxReplyBytes)
        refusal = "no line end within " + bytes;
    else if (lines.sinceText() > MaxReplyBytes)
        refusal = "no reading within " + bytes;
}
