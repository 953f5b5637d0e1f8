#pragma once
// Windows-1252, the code page of the MAC register's list file and reports: each byte one character.
// The five bytes the code page leaves free stand for the control characters of the same number, so every
// byte reads back as it was written.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

char32_t Windows1252Char(uint8_t byte);
// nullopt: the code page cannot hold the character.
std::optional<uint8_t> Windows1252Byte(char32_t c);

// The text as bytes; nullopt and the first character the code page cannot hold.
struct Windows1252Text {
    std::optional<std::string> bytes;
    char32_t unstorable = 0;
};
Windows1252Text ToWindows1252(std::u32string_view text);
std::u32string FromWindows1252(std::string_view bytes);
