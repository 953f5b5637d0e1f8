#pragma once
// The hand-over between a caller that waits and a non-modal dialog: the caller sets DialogBusy (and the
// starting DialogText), shows the dialog and processes events until the dialog clears DialogBusy.
#include <string>

struct DialogHandOver {
    bool DialogBusy = false;
    std::string DialogText;
};
