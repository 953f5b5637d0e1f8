#pragma once
// The program's string resources, compiled in. Texts are Latin-1 bytes.
#include <array>

constexpr int UiTextKeys = 212;
constexpr int BrandTextCount = 43; // k 0 company, k 1 program name, k 2..42 model names
constexpr int FunctionNameKeys = 69;

extern const std::array<const char*, UiTextKeys> UiTextEnglish;
extern const std::array<const char*, UiTextKeys> UiTextItalian;
extern const std::array<std::array<const char*, BrandTextCount>, 4> BrandTexts; // brand 1..4
extern const std::array<const char*, FunctionNameKeys> FunctionNameTexts;
