#pragma once
// Enabled and visible flags of the toolbar's buttons by key, and the two model-dependent menu items.
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>

struct ToolbarState {
    std::map<std::string, bool, std::less<>> Enabled;
    std::map<std::string, bool, std::less<>> Visible;
    // Keys whose command this build does not offer yet: they stay disabled whatever the groups say.
    std::set<std::string, std::less<>> Unavailable;
    bool ProgramMenuShown = false; // mnu_program
    bool DisplayMenuShown = false; // mnu_display
    std::function<void()> onChanged;

    ToolbarState();
    void setEnabled(std::string_view key, bool enable);
    bool enabled(std::string_view key) const;
    bool visible(std::string_view key) const;
    void changed() const {
        if (onChanged) onChanged();
    }
};
