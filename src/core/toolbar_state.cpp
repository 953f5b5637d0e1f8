#include "core/toolbar_state.h"

#include "core/toolbar_layout.h"

ToolbarState::ToolbarState() {
    for (const auto& e : ToolbarLayout) {
        if (e.Key.empty()) continue;
        Enabled.emplace(std::string(e.Key), e.EnabledWhenBuilt);
        Visible.emplace(std::string(e.Key), e.VisibleWhenBuilt);
    }
}

void ToolbarState::setEnabled(std::string_view key, bool enable) {
    auto it = Enabled.find(key);
    if (it != Enabled.end()) it->second = enable && !Unavailable.contains(key);
}

bool ToolbarState::enabled(std::string_view key) const {
    auto it = Enabled.find(key);
    return it != Enabled.end() && it->second && !Unavailable.contains(key);
}

bool ToolbarState::visible(std::string_view key) const {
    auto it = Visible.find(key);
    return it != Visible.end() && it->second;
}
