#pragma once
// The procedures of other subsystems that the shell's windows call. The program binds each one to its
// subsystem; an empty entry is a command this build does not offer, so its key and menu item stay
// disabled. Tests bind fakes.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class ProgramCommands;

struct ShellProcedures {
    // Device link and device procedures.
    std::function<void()> Connetti;
    std::function<void()> Disconnetti;
    std::function<void()> VerificaModello;
    std::function<int16_t()> LeggiStatoPLC;     // the debug mode read from the controller
    std::function<void(bool)> ImpostaModoDebug; // then LeggiStatoPLC
    std::function<void(bool keepUser)> MappaRegistri;
    // Settings file and language texts.
    std::function<void()> SaveSettings;
    std::function<void(uint8_t)> CaricaRisorse;
    // Project.
    std::function<bool()> NuovoProgramma; // false: the user kept the project (nothing closed)
    std::function<void()> NuovoProgetto;
    std::function<void()> CaricaProgetto;
    std::function<bool(bool askName)> SalvaProgetto; // false when cancelled or failed
    std::function<void()> CompilaProgramma;
    std::function<void(bool header, bool sideAreas)> Esporta;
    // The program view and rung editing: its window, keys and menu items.
    std::shared_ptr<ProgramCommands> Program;
    // Opens the address with the desktop's URL handler.
    std::function<void(const std::string&)> OpenUrl;
};

// Runs a procedure when this build has it.
template <class F, class... Args> void callIf(const F& procedure, Args&&... args) {
    if (procedure) procedure(std::forward<Args>(args)...);
}
