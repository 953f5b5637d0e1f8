#pragma once
// Closing the program: nothing running is cut off halfway and no unsaved data goes without a question.
#include <functional>
#include <string>

#include "platform/input_hold.h"

struct AppContext;

struct CloseChecks {
    bool transferRunning = false; // a download, upload or memory transfer: it cannot stop halfway
    // Shows a refusal without waiting for it to be read: a close asked during a transfer arrives inside the
    // transfer's own wait, which a modal box would hold up with the controller halted.
    std::function<void(const std::string&)> tellWithoutWaiting;
    std::function<bool()> windowsMayClose; // the windows' own save questions; false: the user stays
    std::function<bool(bool askName)> saveProject;
};

// A close asked while a request waits: a running transfer refuses it (told without waiting, and the
// transfer goes on); a running polling loop lets the wait end first, so that its question comes before
// anything is stopped; otherwise it ends the wait.
InputHold::WaitClose CloseDuringWait(const AppContext& ctx, const CloseChecks& checks);

// True when the program may close. A running transfer refuses with a notice; a polling loop asks; then
// the windows' questions and the project's save question are asked. A running loop is stopped only once
// every question has been answered yes: any No or Cancel leaves it running.
bool MayCloseProgram(AppContext& ctx, const CloseChecks& checks, const std::string& title);
