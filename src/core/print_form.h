#pragma once
// Numbers as the text files carry them: a blank (or the minus sign) before the digits, a blank after.
#include <string>

inline std::string printForm(long long value) {
    std::string text = value < 0 ? "" : " ";
    text += std::to_string(value);
    text += ' ';
    return text;
}
