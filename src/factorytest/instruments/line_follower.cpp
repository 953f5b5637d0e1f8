#include "factorytest/instruments/line_follower.h"

#include <utility>

#include "factorytest/instruments/instrument_commands.h"

bool HoldsText(const std::string& line) {
    return line.find_first_not_of(" \t") != std::string::npos;
}

std::string LineEndingName(LineEnding ending) {
    switch (ending) {
    case LineEnding::CrLf:
        return "CR LF";
    case LineEnding::Cr:
        return "CR";
    case LineEnding::Lf:
        return "LF";
    default:
        return "";
    }
}

std::optional<FollowedLine> LineFollower::follow(char c) {
    const bool lineEnd = c == '\r' || c == '\n';
    sinceText_ = IsLineText(c) && c != ' ' && c != '\t' ? 0 : sinceText_ + 1;
    if (!lineEnd && !IsLineText(c)) return std::nullopt;
    std::optional<FollowedLine> ended;
    if (crLine_) {
        ended = end(*std::exchange(crLine_, std::nullopt), c == '\n' ? LineEnding::CrLf : LineEnding::Cr);
        if (c == '\n') return ended;
    }
    if (c == '\r')
        crLine_ = endHead();
    else if (c == '\n')
        ended = end(endHead(), LineEnding::Lf);
    else if (head_.size() <= MaxReplyBytes)
        head_ += c;
    return ended;
}

std::optional<FollowedLine> LineFollower::quiet() {
    if (!crLine_) return std::nullopt;
    return end(*std::exchange(crLine_, std::nullopt), LineEnding::Cr);
}

void LineFollower::mark() {
    before_ = head_.size();
    if (crLine_) crLine_->before = crLine_->text.size();
    sinceText_ = 0;
}

FollowedLine LineFollower::endHead() {
    FollowedLine line;
    line.text = std::exchange(head_, {});
    line.before = std::exchange(before_, 0);
    return line;
}

FollowedLine LineFollower::end(FollowedLine line, LineEnding by) {
    const bool text = HoldsText(line.text);
    if (by == LineEnding::CrLf) {
        ending_ = LineEnding::CrLf;
    } else if (ending_ == LineEnding::Unknown && text && lastLone_ == by) {
        ending_ = by;
        cut_.reset(); // the lone one before was a line end too
    }
    lastLone_ = by != LineEnding::CrLf && text ? by : LineEnding::Unknown;
    line.by = by;
    line.ending = ending_;
    line.after = cut_;
    if (line.whole())
        cut_.reset();
    else if (text)
        cut_ = LineCut{by, line.text};
    return line;
}
