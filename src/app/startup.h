#pragma once
// Start-up of the program: version, brand, defaults, saved settings, texts and register names.
// The window steps are the main window's; it passes itself as the StartupWindow and Main calls it at
// the points where those steps belong, so the order of start-up stays in one place.
#include <string>
#include <utility>
#include <vector>

#include "core/build_flags.h"

struct AppContext;

// Start-up sizes of the windows, in twips (1/1440 inch).
constexpr int MainWindowWidthTwips = 16000;
constexpr int MainWindowHeightTwips = 13000;
constexpr int LogWindowHeightTwips = 3000;

class StartupWindow {
  public:
    virtual ~StartupWindow() = default;
    virtual void CaricaImmagini() = 0;                       // fill the picture list (creates the window)
    virtual void ShowInternalMenus(bool visible) = 0;        // mnu_collaudo, mnu_Export, mnu_print
    virtual void SetIcon() = 0;                              // icon resource 300
    virtual void SetCaption(const std::string& caption) = 0; // the brand's program name
    virtual void SetSizeTwips(int width, int height) = 0;
    virtual void CreaToolBar() = 0;
    virtual void LoadLogWindow(int heightTwips) = 0; // at left 0, top 0 of the client area
    virtual void ApplyMenuCaptions(const std::vector<std::pair<std::string, std::string>>& captions) = 0;
};

struct StartupOptions {
    BuildFlags flags = ThisBuild;
    std::string settingsFolder; // empty: the user's local application-data folder
};

// Runs every step in order; a step that fails is passed over and the next one runs. Connects nothing.
void Main(AppContext& ctx, StartupWindow* window = nullptr, const StartupOptions& options = {});
