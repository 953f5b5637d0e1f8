#pragma once
// UserDialogs for tests: answers from a script, and a record of every box shown.
#include <deque>
#include <string>
#include <vector>

#include "core/user_dialogs.h"

class FakeDialogs : public UserDialogs {
  public:
    struct Box {
        std::string text;
        MsgButtons buttons;
        MsgIcon icon;
        std::string title;
    };
    std::vector<std::string> shown; // texts of every message box
    std::vector<Box> boxes;         // every message box in full
    std::deque<MsgChoice> choices;  // answers to message boxes; Ok/Yes when empty
    std::deque<std::string> files;  // answers to file dialogs; "" (cancel) when empty
    std::deque<std::optional<std::string>> inputs;

    MsgChoice messageBox(const std::string& text, MsgButtons buttons, MsgIcon icon,
                         const std::string& title) override {
        shown.push_back(text);
        boxes.push_back({text, buttons, icon, title});
        const bool yesNo = buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel;
        return pop(choices, yesNo ? MsgChoice::Yes : MsgChoice::Ok);
    }
    std::optional<std::string> inputBox(const std::string&, const std::string&, const std::string&) override {
        return pop(inputs, std::optional<std::string>{});
    }
    std::string openFile(const std::string&, const std::string&) override {
        return pop(files, std::string{});
    }
    std::string saveFile(const std::string&, const std::string&) override {
        return pop(files, std::string{});
    }

  private:
    template <class T> static T pop(std::deque<T>& q, T fallback) {
        if (q.empty()) return fallback;
        T v = q.front();
        q.pop_front();
        return v;
    }
};
