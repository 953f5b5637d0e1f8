#pragma once
// Argument texts as numbers: the reader of typed values and the shortest text of a value.
#include <string>
#include <string_view>

// The leading decimal number of a text: blanks ignored, optional sign, digits with one ".", an optional
// exponent; 0 when the text does not begin with a number. A number beyond the range of a double is
// infinite (with its sign), one too small for it 0.
double numericValue(std::string_view text);
// Whether the whole text (blanks ignored) is one finite number as numericValue reads it.
bool isNumberText(std::string_view text);
// Every "," replaced by ".".
std::string commaToPoint(std::string text);
// Shortest decimal form of a value ("26", "1.5").
std::string numberText(double v);
