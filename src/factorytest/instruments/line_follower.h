#pragma once
// Follows the lines an instrument sends, a byte at a time, and learns from them how it ends its lines. A
// line ended otherwise is cut: a stray CR or LF inside it looks like a line end, and only the way the
// instrument ends its lines tells the two apart.
#include <cstddef>
#include <optional>
#include <string>

// Whether a line holds text other than blanks.
bool HoldsText(const std::string& line);

// How an instrument ends its lines: not known yet, CR LF, a lone CR or a lone LF.
enum class LineEnding { Unknown, CrLf, Cr, Lf };
// "CR LF", "CR", "LF"; empty while not known.
std::string LineEndingName(LineEnding ending);

// A lone CR or LF (by) that ended text other than blanks where it is not how the instrument ends its lines,
// or may not be while that is not known, and the text it ended.
struct LineCut {
    LineEnding by;
    std::string text;
};

// A line as it ended.
struct FollowedLine {
    std::string text;  // noise left out (see IsLineText), kept to one byte more than MaxReplyBytes
    size_t before = 0; // how much of text came before the last mark()
    LineEnding by = LineEnding::CrLf;        // what ended it: CR LF, a lone CR or a lone LF
    LineEnding ending = LineEnding::Unknown; // how the instrument ends its lines, as known once it ended
    // The cut it follows, when a cut came since the instrument last ended a line its own way: the line is
    // then the rest of the line that cut ended.
    std::optional<LineCut> after;
    // Ended the way the instrument ends its lines: a line ended otherwise is cut, or may be.
    bool whole() const { return by == ending; }
};

class LineFollower {
  public:
    // Follows the next byte; the line it ended, if any. Noise bytes are part of no line. A CR's line ends
    // with the next byte that is not noise: CR LF when that is an LF, a lone CR otherwise. The instrument
    // ends its lines CR LF from the first CR LF on; with a lone CR or LF once two line ends in a row were
    // that lone character, each ending text other than blanks, and no CR LF came before.
    std::optional<FollowedLine> follow(char c);
    // The line has fallen quiet: a CR that came last was a lone one, and the line it ended is returned.
    std::optional<FollowedLine> quiet();
    // What comes from now on answers what was just sent: the text of the line so far came before.
    void mark();

    // The text received since the last line end: the head of a line that an instrument is in the middle
    // of, whose rest comes next, or stray text on an idle line. Kept as FollowedLine::text is.
    const std::string& head() const { return head_; }
    // A CR came last: its line is not whole yet.
    bool crLast() const { return crLine_.has_value(); }
    LineEnding ending() const { return ending_; }
    // Bytes followed since the last text other than blanks, or since the mark.
    size_t sinceText() const { return sinceText_; }

  private:
    FollowedLine end(FollowedLine line, LineEnding by);
    FollowedLine endHead();

    std::string head_;
    size_t before_ = 0;
    std::optional<FollowedLine> crLine_; // the line a CR ended, until the next byte tells how
    LineEnding ending_ = LineEnding::Unknown;
    LineEnding lastLone_ =
        LineEnding::Unknown;     // the lone CR or LF that ended the last line, if it ended text
    std::optional<LineCut> cut_; // the last cut since the instrument last ended a line its way
    size_t sinceText_ = 0;
};
