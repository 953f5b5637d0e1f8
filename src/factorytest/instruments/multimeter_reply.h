#pragma once
// A multimeter's reply to ":READ?", judged a line at a time as the meter ends its lines: the reading, a
// refusal, or text passed over and why.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "factorytest/instruments/line_follower.h"

// What the read knew when its query went.
struct MultimeterQuery {
    std::string meter;  // "the multimeter (COM3)"
    int limitMs = 0;    // the time a line is given to come whole after the query
    std::string waited; // text other than blanks that waited without its line end; empty when none did
    // Where no text waited: the text that a line end cut less than limitMs before the query.
    std::optional<std::string> cutShortlyBefore;
};

class MultimeterReply {
  public:
    explicit MultimeterReply(MultimeterQuery query) : query_(std::move(query)) {}

    // Judges the next line the meter ended after the query. Blank lines, noise, an echo of the query and
    // a line whose text all came before the query are no reply. The reading is the first other line that
    // is whole as the meter ends its lines and not passed over:
    // - a line begun before the query (text waited) may be the rest of a line: passed over;
    // - a line ended by a lone CR or LF where the meter ends its lines CR LF, or otherwise, is cut, and the
    //   text after it up to the meter's next line end is its rest: both passed over; while the meter's line
    //   end is not known, a line ended by a lone CR or LF may be cut: passed over;
    // - where the meter ends its lines with a lone CR or LF, a stray one cannot be told from a line end:
    //   the first line after the query is passed over when text waited, or a line end cut text shortly
    //   before the query.
    // Refused: a line longer than MaxReplyBytes, a line that is no number, a number beyond
    // MaxMultimeterReading either way.
    void judge(const FollowedLine& line);
    // Refuses the reply once the line still coming has no line end within MaxReplyBytes, or as many bytes
    // came without text.
    void bound(const LineFollower& lines);

    std::optional<double> value; // in the instrument's unit
    std::string refusal;         // why there is no value; empty while the reply may still be coming
    // For each text passed over, in order: why, quoting it ("... may be its rest"; the log adds "and was
    // passed over").
    std::vector<std::string> passedOver;
    bool done() const { return value || !refusal.empty(); }

  private:
    std::optional<std::string> whyPassOver(const FollowedLine& line, const std::string& rest,
                                           bool first) const;

    MultimeterQuery query_;
    bool textCame_ = false; // a line holding text after the query was judged
};
