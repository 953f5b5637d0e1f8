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
    // A copy: a SetRes may load or unload windows. One unloaded meanwhile is gone and is passed over;
    // one loaded meanwhile took the new texts as it loaded.
    auto windows = windows_;
    for (const auto& w : windows) {
        const auto loaded = [&w](const LoadedWindow& l) { return l.Window == w.Window; };
        if (std::none_of(windows_.begin(), windows_.end(), loaded)) continue;
        try {
            if (w.SetRes) w.SetRes();
        } catch (const std::exception&) {
            // That window keeps its old captions; the others are still updated.
        }
    }
}
