#include "core/text_tables.h"

// Function-block names by catalogue index (resources 1200 + k), the same in every language.
const std::array<const char*, FunctionNameKeys> FunctionNameTexts{
    "Read Input", "Write Multiple", "Read Device", "Scale", "Add", "Sub", "A>B", "Move", "SQRT",
    "Write Device",
    // 10
    "Compare", "Goto", " ", "If(bit) -> Goto", "Call", "Return", "Timer", "Bit Set", "Mult", "Div",
    // 20
    "Trip", "AND(word)", "OR(word)", "XOR(word)", "NOT", "Shift R", "Shift L", "Rotate R", "Rotate L",
    "Average",
    // 30
    "Linearization", "Read/Write", "ABS", "AND(bit)", "OR(bit)", "XOR(bit)", "Bit Set", "Bit Reset", "e^(x)",
    "x^y",
    // 40
    "Read Holding", "Log Write", "If(bit) -> Call", "Call Page", "Display Refresh", "Clear WatchDog",
    "Block Move", "A = B", "A <> B", "A > B",
    // 50
    "A < B", "A >= B", "A <= B", "Limit (Int)", "Limit (Ext)", "PID", "POS", "NEG", "TOGGLE up",
    "TOGGLE down",
    // 60
    "Read Coils", "Write Coils", "Write Coil", "Read (pointer)", "Write (pointer)", "Write Single",
    "While < N", "Min", "Max"};
