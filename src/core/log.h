#pragma once
// The log window's text, kept headless; the window shows it and follows its changes.
#include <functional>
#include <string>
#include <vector>

class Log {
  public:
    // Appends the text plus two blanks as a new line and selects it, so the view scrolls to it.
    void LogWrite(const std::string& text);
    // Appends "-- " + date and time + " --" without changing the selection.
    void LogStart();
    void LogClear();

    const std::vector<std::string>& lines() const { return lines_; }
    // Index of the selected line, -1 when none.
    int selected() const { return selected_; }
    // Called after every change, so a window can redraw and show the selected line.
    std::function<void()> onChanged;

  private:
    void changed();

    std::vector<std::string> lines_;
    int selected_ = -1;
};
