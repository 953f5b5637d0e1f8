#pragma once
// An operation of several requests (a download, a verify, an export, a memory transfer, a scan) is one
// busy run: while it runs, a command that would change the project, the link, the settings or the
// controller is refused with a line that says why, never carried out between the run's requests.
#include <string_view>

struct AppContext;

// Marks the run under way for its lifetime (CommState::RunUnderWay); the toolbar and the menus follow as
// it starts and as it ends. A run started inside another one (the verify of a download) keeps the outer
// run's name.
class BusyRun {
  public:
    // what names the run as a refusal tells it: "a download".
    BusyRun(AppContext& ctx, const char* what);
    ~BusyRun();
    BusyRun(const BusyRun&) = delete;
    BusyRun& operator=(const BusyRun&) = delete;

  private:
    AppContext& ctx_;
    bool outermost_;
};

// A connect (the connect key, the settings' OK, Set as Controller) reconnects, identifies the device and reads
// its mode: a run of several requests too.
inline constexpr const char* ConnectRun = "a connect";

// True while a run is under way, after one log line that names the command and the run:
// "Project > Open refused: a download is under way".
bool RefusedDuringRun(AppContext& ctx, std::string_view command);
