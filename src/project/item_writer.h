#pragma once
// Writes the items of the project files, one line each in the set's text forms, CR LF ended.
#include <cstdint>
#include <string>
#include <string_view>

// Number forms shared by the project files and the table file.
std::string integerText(int64_t v);   // sign place, digits, trailing blank: " 5 ", "-5 "
std::string doubleText(double v);     // as integerText, no leading zero in (-1, 1): " .5 ", "-.25 "
std::string tableValueText(double v); // as doubleText without the trailing blank: " .25", "-3"

class ItemWriter {
  public:
    // A single-line text: an embedded line break becomes a blank, so the following items never shift.
    void text(std::string_view s);
    // A text that keeps its own line breaks (block texts): each of its lines becomes one line.
    void multiLineText(std::string_view s);
    void number(int64_t v) { line(integerText(v)); }
    void dbl(double v) { line(doubleText(v)); }
    void tableValue(double v) { line(tableValueText(v)); }
    void flag(int16_t f) { number(f != 0 ? 1 : 0); }
    void tag(std::string_view t) { line(t); }

    const std::string& contents() const { return out_; }

  private:
    void line(std::string_view s);
    std::string out_;
};
