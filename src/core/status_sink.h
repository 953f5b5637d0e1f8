#pragma once
// The main window's status bar panels (1..6) as logic writes them.
#include <array>
#include <functional>
#include <string>

struct StatusPanels {
    std::array<std::string, 7> Text; // index 1..6; 0 unused
    std::function<void(int)> onChanged;

    void set(int panel, const std::string& text) {
        if (panel < 1 || panel > 6) return;
        Text[static_cast<size_t>(panel)] = text;
        if (onChanged) onChanged(panel);
    }

    // The main window's toolbar groups and its refresh from the state; logic calls them by name.
    std::function<void(const std::string& group, bool enable)> onAbilitaPulsanti;
    std::function<void()> onAggiornaStato;
    void AbilitaPulsanti(const std::string& group, bool enable) {
        if (onAbilitaPulsanti) onAbilitaPulsanti(group, enable);
    }
    void AggiornaStato() {
        if (onAggiornaStato) onAggiornaStato();
    }
};
