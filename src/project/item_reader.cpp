#include "project/item_reader.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::optional<double> parseNumber(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && (isBlank(s.back()) || s.back() == '\r'))
        s.remove_suffix(1);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    // from_chars would also take "inf" and "nan"; the files only hold digits, a point and an exponent.
    if (s.empty() || !(std::isdigit(static_cast<unsigned char>(s.front())) || s.front() == '.'))
        return std::nullopt;
    double v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc{} || end != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
    return negative ? -v : v;
}

std::optional<std::string> ItemReader::next() {
    if (atEnd()) return std::nullopt;
    size_t eol = data_.find('\n', pos_);
    size_t lineEnd = eol == std::string_view::npos ? data_.size() : eol;
    size_t afterLine = eol == std::string_view::npos ? data_.size() : eol + 1;
    size_t contentEnd = lineEnd > pos_ && data_[lineEnd - 1] == '\r' ? lineEnd - 1 : lineEnd;

    if (mode_ == ItemMode::Lines) {
        std::string item(data_.substr(pos_, contentEnd - pos_));
        pos_ = afterLine;
        return item;
    }

    size_t p = pos_;
    while (p < contentEnd && isBlank(data_[p]))
        ++p;
    std::string item;
    size_t stop;
    if (p < contentEnd && data_[p] == '"') {
        size_t close = data_.find('"', p + 1);
        if (close == std::string_view::npos || close > contentEnd) close = contentEnd;
        item = data_.substr(p + 1, close - p - 1);
        stop = data_.find(',', close);
        if (stop == std::string_view::npos || stop > contentEnd) stop = contentEnd;
    } else {
        stop = data_.find(',', p);
        if (stop == std::string_view::npos || stop > contentEnd) stop = contentEnd;
        item = data_.substr(p, stop - p);
    }
    pos_ = stop < contentEnd ? stop + 1 : afterLine;
    return item;
}

int64_t ItemReader::linesLeft() const {
    if (mode_ != ItemMode::Lines) return 0;
    ItemReader rest(data_.substr(pos_), mode_);
    int64_t count = 0;
    while (auto item = rest.next())
        if (item->find_first_not_of(" \t") != std::string::npos) ++count;
    return count;
}

std::optional<std::string> ItemReader::field() {
    auto item = next();
    if (!item) truncated = true;
    return item;
}

void ItemReader::text(std::string& f) {
    if (auto item = field()) f = std::move(*item);
}

std::optional<double> ItemReader::nextNumber() {
    auto item = field();
    if (!item) return std::nullopt;
    auto v = parseNumber(*item);
    if (!v) ++unconvertible;
    return v;
}

template <class T> void ItemReader::number(T& field, double lo, double hi) {
    auto v = nextNumber();
    if (!v) return;
    double whole = std::nearbyint(*v); // whole-number fields round half to even
    if (whole < lo || whole > hi) {
        ++unconvertible;
        return;
    }
    field = static_cast<T>(whole);
}

void ItemReader::integer(uint16_t& field) {
    int16_t v = static_cast<int16_t>(field);
    integer(v);
    field = static_cast<uint16_t>(v);
}

void ItemReader::dbl(double& field) {
    if (auto v = nextNumber()) field = *v;
}

void ItemReader::flag(int16_t& field) {
    if (auto v = nextNumber()) field = *v == 1 ? -1 : 0;
}

void ItemReader::skip(int64_t n) {
    for (int64_t i = 0; i < n && !atEnd(); ++i)
        next();
}

bool ItemReader::skipTo(std::string_view tag) {
    while (auto item = next())
        if (*item == tag) return true;
    return false;
}

template void ItemReader::number<uint8_t>(uint8_t&, double, double);
template void ItemReader::number<int16_t>(int16_t&, double, double);
template void ItemReader::number<int32_t>(int32_t&, double, double);
