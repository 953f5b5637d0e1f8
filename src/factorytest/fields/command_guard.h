#pragma once
// One command of a window at a time: a command is refused while another of the same window waits (its
// pauses let clicks through) or while another window's request waits for its answer, because they share
// MemoryImage and the request buffers, and while a run (a download, a memory transfer) is under way.
#include <functional>

struct AppContext;

class CommandGuard {
  public:
    // Refused (false) leaves busy as it was and logs why. released runs once the command has ended, so
    // the window unlocks its buttons.
    CommandGuard(AppContext& app, bool& busy, std::function<void()> released = {});
    ~CommandGuard();
    CommandGuard(const CommandGuard&) = delete;
    CommandGuard& operator=(const CommandGuard&) = delete;
    explicit operator bool() const { return held_; }

  private:
    bool& busy_;
    std::function<void()> released_;
    bool held_ = false;
};
