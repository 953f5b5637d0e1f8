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
};
