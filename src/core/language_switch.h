#pragma once
// CambiaLingua: reload the texts of a language and let every loaded window copy its captions again,
// in the order the windows were loaded.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class LanguageSwitch {
  public:
    using Loader = std::function<void(uint8_t)>; // CaricaRisorse

    explicit LanguageSwitch(Loader loader) : loader_(std::move(loader)) {}
    // A window registers its SetRes when it loads and withdraws it when it unloads.
    void windowLoaded(const void* window, std::function<void()> setRes);
    void windowUnloaded(const void* window);
    void CambiaLingua(int16_t language);

  private:
    struct LoadedWindow {
        const void* Window;
        std::function<void()> SetRes;
    };
    Loader loader_;
    std::vector<LoadedWindow> windows_;
};
