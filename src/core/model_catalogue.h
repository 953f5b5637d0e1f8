#pragma once
// The device models the program knows (rows 0..48 of the catalogue), built from constants.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/build_flags.h"
#include "core/model_record.h"

constexpr int FilledModelRows = 49; // rows 49 and 50 stay empty

// Entries of ModelNames that the register map and the windows tell models apart by.
enum ModelNameEntry : int {
    NameJXV8410 = 0,
    NameJXV8410IO = 1,
    NameJXV8410DL = 2,
    NameJXV8410DLIO = 3,
    NameJXV8410USB = 4,
    NameJXV8250 = 5,
    NameJXV8250DL = 6,
    NameJXV8250USB = 7,
    NameJXV8480 = 8,
    NameJXV7593 = 9,
    NameJXV2569 = 25,
    NameJXV9568 = 26,
    NameKELMO7593 = 27,
    NameJXV9921 = 28,
    NameJXV8480AI = 29,
    NameJXV9704 = 30,
    NameJXV9422 = 31,
    NameJXV9322 = 32,
    NameJXV9628 = 33,
    NameJXV9436I = 34,
    NameJXV9436V = 35,
    NameJXV9025 = 36,
    NameJXV9169 = 37,
    NameJXV9663 = 38,
    NameJXV9930 = 39,
    NameJXV9787 = 40,
    NameFixed = -1, // row 12 carries its own name
};

// Rebuilds rows 0..48 (and clears 49, 50); each row's name comes from names by its fixed entry.
void InitModelli(ModelCatalogue& catalogue, const ModelNameList& names, const BuildFlags& flags = ThisBuild);

// The ModelNames entry that names a row (NameFixed for row 12, and for rows outside 0..48).
int ModelNameEntryOf(int row);

// First row in 0..48 whose code equals the text.
std::optional<int> FindModelByCode(const ModelCatalogue& catalogue, std::string_view code);
