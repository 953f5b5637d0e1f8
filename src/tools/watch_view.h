#pragma once
// frm_watch without its window: the registers the user watches (the project's WatchList), their rows
// formatted as in the register view, and the refresh loop that reads them while connected.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "tools/register_read.h"
#include "tools/register_value_text.h"

struct AppContext;

class WatchView {
  public:
    explicit WatchView(AppContext& ctx) : ctx_(ctx) {}

    struct Choice {
        int Register;
        std::string Text; // "[%R" number "] " label
    };

    std::function<void()> onChanged; // redraw

    // Caption "Watch", the column headers and the register choice list of the selected model.
    void SetRes();
    // Adds a register at the end of the list; false when it is there already, the list is full or the
    // register is outside the register table.
    bool add(int reg);
    // Removes the row's register.
    void remove(int row);
    // The rows from WatchList and the register table.
    void Redraw();
    // Reads every watched register once (function 4, near ones in one request, see register_read.h) into
    // the register table and redraws; false when a read failed.
    bool refresh();
    // Refreshes every PollSeconds until stop, a failed read, a lost link or stop(); refused while another
    // request or loop runs. Each start tries again the requests the device refused before.
    void start();
    void stop();
    bool running() const { return running_; }

    std::string Caption;
    std::array<std::string, 4> Headers;
    std::vector<Choice> Choices;
    std::vector<RegisterRow> Rows;

  private:
    AppContext& ctx_;
    bool running_ = false;
    RefusedBlocks refused_;
};
