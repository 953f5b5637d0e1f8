#pragma once
// Numbers typed into the search window's boxes.
#include <cstdint>
#include <optional>
#include <string_view>

// The longest time-out that a link's 16-bit field holds, in milliseconds.
constexpr int MaxTimeoutMs = 32767;
// The longest wait for search replies: its whole seconds, rounded, still fit AnswerTimeout's 16 bits.
constexpr int MaxWaitMs = 32767499;

// A whole decimal number from min to max, blanks around it allowed; nullopt for anything else.
std::optional<int> WholeNumber(std::string_view text, int min, int max);
// The leading decimal number of the text (blanks before it skipped), 0 when it begins with none.
int64_t LeadingNumber(std::string_view text);
