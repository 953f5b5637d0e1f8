#pragma once
// The fixed list of function blocks the editor offers, their codes and where each sits on its tab.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

constexpr int CatalogueSize = 71; // indices 0..70; 69 and 70 stay zero
constexpr int CatalogueDefined = 69;

struct CatalogueEntry {
    int16_t Tab = 0;   // 1 "Comm" .. 9 "Display", 10 "Logger"
    uint16_t Type = 0; // FunctionType written to the rung
    uint16_t Opcode = 0;
    uint8_t SubOp = 0;
    uint16_t Picture = 0; // bitmap resource number, 0 none
    uint32_t Colour = 0;  // back colour of the entry's button, 0x00BBGGRR
};

// FunctionCatalogue[index].
const CatalogueEntry& catalogueEntry(int index);

constexpr int TabCount = 9;
constexpr std::array<std::string_view, TabCount> TabCaptions = {"Comm", "Move", "Bitwise", "Shift",  "Math",
                                                                "Comp", "Flow", "Timers",  "Display"};

// Which build and model conditions a placed entry needs.
enum class Gate : uint8_t { Always, CoilModel, NoBrand3, Internal };

struct Placement {
    uint8_t Index;
    uint8_t Row;
    uint8_t Column;
    Gate When;
};

// The entries a tab with this caption lays out, in placing order (empty for an unknown caption).
std::span<const Placement> tabPlacements(std::string_view caption);

// Whether a gate is open for the model code and the build flags.
bool gateOpen(Gate g, std::string_view modelCode, int16_t buildBrand3, int16_t buildInternal);

// Catalogue index of a stored rung's function type, opcode and subop; 0 when none matches.
uint8_t FunzToOpt(int type, int opcode, uint8_t subop);
