#pragma once
// Application-wide state of the shell: texts of the language in use, the model catalogue, UI settings.
#include <array>
#include <cstdint>
#include <string>

#include "core/build_flags.h"
#include "core/log.h"
#include "core/model_record.h"
#include "core/status_sink.h"
#include "core/toolbar_state.h"

constexpr int UiTextCount = 212;
constexpr int FunctionNameCount = 71;
constexpr int MonthNameCount = 13;     // entries 1..12; 0 holds no month
constexpr int ValueTypeNameCount = 33; // 0..18 named, the rest empty
constexpr int RegisterKindCount = 5;

struct ShellState {
    int16_t Language = 1; // 0 Italian, 1 English
    uint16_t BrandOffset = 0;
    std::string VersionText = "1.8";
    std::string VersionSuffix = "k";
    BuildFlags Flags = ThisBuild; // set by start-up; tests start internal builds through it

    std::array<std::string, UiTextCount> UiText;
    std::array<std::string, FunctionNameCount> FunctionNames;
    ModelNameList ModelNames;
    std::array<std::string, MonthNameCount> MonthNames;
    std::array<std::string, ValueTypeNameCount> ValueTypeNames;
    std::array<std::string, RegisterKindCount> RegisterPrefixes; // label prefix per register kind
    std::string LanguageName;                                    // caption of the language choice
    std::array<std::string, 2> LanguageNames;                    // "Italiano", "English"
    ModelCatalogue Models{};

    int16_t RegUpdate = 0;
    int16_t AnimateTime = 500; // milliseconds
    std::string ModemNumber;   // telephone number of the remote modem the modem link dials

    Log log;
    StatusPanels status;
    ToolbarState Toolbar; // toolbar buttons by key and the two model-dependent menu items
};
