#pragma once
// The log window's text, kept headless; the window shows it and follows its changes.
#include <functional>
#include <string>
#include <vector>

class Log {
public:
    // Appends the text plus two blanks as a new line.
    void LogWrite(const std::string& text);
    // Writes "-- " + date and time + " --".
    void LogStart();
    void LogClear();

    const std::vector<std::string>& lines() const { return lines_; }
    // Called after every change, so a window can redraw and select the last line.
    std::function<void()> onChanged;

private:
    std::vector<std::string> lines_;
};
