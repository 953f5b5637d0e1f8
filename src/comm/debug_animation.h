#pragma once
// AnimaDebug: one animation step of the debugger. Reads the controller's program counter (and, on models
// with HasTrigger, its status word), colours the rung number labels of the program view and keeps the
// current rung in sight. The program view is reached through callbacks, so this runs without it.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

struct AppContext;

// Label colours as 0x00BBGGRR.
constexpr uint32_t RungWhite = 0xFFFFFF;
constexpr uint32_t RungYellow = 0x00FFFF;
constexpr uint32_t RungRed = 0x0000FF;
constexpr uint32_t RungGreen = 0x00FF00;

// Input registers of the program counter and the status word; bit 15 of the status word picks the trace.
constexpr int ProgramCounterRegister = 13;
constexpr int StatusWordRegister = 10;
constexpr uint16_t StatusTraceBit = 0x8000;

// What a step needs of the program view. Elements count as lbl_Rung does: element r is rung r of the
// shown section.
struct DebugAnimationView {
    std::function<void()> load; // creates the view when it does not exist yet
    // lbl_Rung(element).BackColor := colour; false when the view has no such label.
    std::function<bool(int element, uint32_t colour)> colourRung;
    // Whether shRung(element) lies wholly inside the visible rung area; nothing when there is no such row.
    std::function<std::optional<bool>(int element)> rowInView;
    std::function<void(int first)> scrollTo; // VScroll := first (rungs scrolled off the top)
};

class DebugAnimation {
  public:
    explicit DebugAnimation(AppContext& ctx) : ctx_(ctx) {}

    // One step; always ends with the status refresh, reports nothing.
    void AnimaDebug();
    // The rungs the last steps coloured back to white: the controller runs on and is at none of them.
    void clearTrace();

    DebugAnimationView view;
    // Newest first; kept for the whole run. Wide enough for every counter a register can hold.
    std::array<int32_t, 3> PcHistory{};

  private:
    void step();
    // The element of the rung the controller is on at counter pc; nothing when that entry is no rung of
    // the shown section (a task, a display page, a rung the last compile did not have).
    std::optional<int> elementOf(int32_t pc) const;
    bool colour(int32_t pc, uint32_t rgb) const;

    AppContext& ctx_;
};
