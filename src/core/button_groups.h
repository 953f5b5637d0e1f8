#pragma once
// The toolbar's named button groups and the status refresh of the main window (AbilitaPulsanti,
// AggiornaStato), kept as plain functions of the state so every window and procedure can call them.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/model_record.h"
#include "core/status_sink.h"
#include "core/toolbar_state.h"

struct AppContext;

// Sets the enabled flag of every key of the named group; an unknown name changes nothing.
void AbilitaPulsanti(ToolbarState& toolbar, std::string_view group, bool enable);
// Whether the named group holds the key.
bool InGroup(std::string_view group, std::string_view key);

// What the status refresh reads.
struct StatusInputs {
    int16_t Connected = 0;
    uint8_t Channel = 0; // 0 Ethernet, otherwise serial
    std::string IpAddress;
    int16_t Port = 0;
    std::string SerialDevice; // a typed device path, shown instead of "COM" + Port
    uint8_t NodeAddress = 0;
    int16_t DebugMode = 0;
    uint8_t RunState = 0;
    const ModelRecord* Model = nullptr;
    bool Internal = false;
    // Names of the two analog modules that are programmable but get no debug buttons.
    std::string NoDebugNameA, NoDebugNameB;
};

// Recomputes groups, panels and the two menu flags from the inputs; what the inputs do not decide
// ("Puls_FunctionBlock" when not in debug mode, panels 2, 3 and 6 in some states) keeps its value.
void AggiornaStato(const StatusInputs& in, ToolbarState& toolbar, StatusPanels& panels);

StatusInputs statusInputs(const AppContext& ctx);
void AggiornaStato(AppContext& ctx);
void AbilitaPulsanti(AppContext& ctx, std::string_view group, bool enable);

// The mode a connect has just read (the connect key, the settings' OK, Set as Controller) becomes the one
// held: debug only when the controller said so, release for any other mode byte; the status bar and the
// keys then show it.
void TakeModeRead(AppContext& ctx, bool debug);
