#pragma once
// How one rung is presented in the program view and in print, as the encoder leaves it.
#include <array>
#include <cstdint>
#include <string>

struct RungRow {
    std::string FunctionName; // txt_Func caption
    uint32_t Colour = 0;      // txt_Func back colour, 0x00BBGGRR
    uint16_t Picture = 0;     // bitmap resource number of the function picture, 0 none
    bool PictureVisible = false;
    std::string Label;                      // rung label
    std::string Description;                // rung description
    std::array<std::string, 8> ArgCaptions; // lbl_Var0..7
    std::array<bool, 8> CaptionVisible{};
    std::array<std::string, 8> ArgValues; // txt_Var0..7
    std::array<bool, 8> ValueVisible{};
    std::string Summary; // txt_Var: "[ a , b ]"

    bool operator==(const RungRow&) const = default;
};
