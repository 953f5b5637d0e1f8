#include "core/language_switch.h"

#include <algorithm>
#include <exception>

void LanguageSwitch::windowLoaded(const void* window, std::function<void()> setRes) {
    windowUnloaded(window);
    windows_.push_back({window, std::move(setRes)});
}

void LanguageSwitch::windowUnloaded(const void* window) {
    std::erase_if(windows_, [window](const LoadedWindow& w) { return w.Window == window; });
}

void LanguageSwitch::CambiaLingua(int16_t language) {
    if (loader_) loader_(static_cast<uint8_t>(language));
    // A copy: a SetRes may load or unload windows.
    auto windows = windows_;
    for (const auto& w : windows) {
        try {
            if (w.SetRes) w.SetRes();
        } catch (const std::exception&) {
            // That window keeps its old captions; the others are still updated.
        }
    }
}
