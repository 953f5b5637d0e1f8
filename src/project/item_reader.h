#pragma once
// Reads the items of the project files back. A field whose item is missing or does not convert keeps
// its value; the reader counts both so that the load can report them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class ItemMode {
    Lines, // files of the current layout: every line is one item, texts whole (commas and leading blanks
           // kept)
    Items, // files of the older counted layout: items end at a comma, a quoted item at its closing quote
};

class ItemReader {
  public:
    ItemReader(std::string_view data, ItemMode mode) : data_(data), mode_(mode) {}

    // The next item, nullopt at the end of the data. Lines end with CR LF or LF.
    std::optional<std::string> next();
    // Reads an item for a field: like next(), but running out of data marks the reader truncated.
    std::optional<std::string> field();
    bool atEnd() const { return pos_ >= data_.size(); }
    // Lines of the current layout not read yet, blank ones left out; 0 in the counted layout, whose
    // files may carry items no field asks for.
    int64_t linesLeft() const;

    void text(std::string& field);
    void byte(uint8_t& field) { number(field, 0, 255); }
    // Integer items are signed 16-bit; unsigned 16-bit fields take their bits (-1 is 65535).
    void integer(int16_t& field) { number(field, -32768, 32767); }
    void integer(uint16_t& field);
    void longInt(int32_t& field) { number(field, INT32_MIN, INT32_MAX); }
    void dbl(double& field);
    // 1 sets the flag (-1), any other number clears it.
    void flag(int16_t& field);

    // Drops n items, fewer at the end of the data.
    void skip(int64_t n);
    // Drops items up to and including the one equal to tag; false when the data ended first.
    bool skipTo(std::string_view tag);

    int unconvertible = 0;  // items that did not convert to their field's type
    bool truncated = false; // a field was asked for after the end of the data
    int skipped = 0;        // items of a tagged file that are not where a record could begin

  private:
    template <class T> void number(T& field, double lo, double hi);
    std::optional<double> nextNumber();
    std::string_view data_;
    ItemMode mode_;
    size_t pos_ = 0;
};

// Reads a number item: blanks around it ignored, ".5", "-.25" and "1E+20" accepted. nullopt when the
// text is not a finite number.
std::optional<double> parseNumber(std::string_view s);
