#pragma once
// Dialogs for the fuzz targets: every box answers OK, every input and file choice is cancelled.
#include "core/user_dialogs.h"

class SilentDialogs : public UserDialogs {
  public:
    MsgChoice messageBox(const std::string&, MsgButtons, MsgIcon, const std::string&) override {
        return MsgChoice::Ok;
    }
    std::optional<std::string> inputBox(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::string openFile(const std::string&, const std::string&) override { return {}; }
    std::string saveFile(const std::string&, const std::string&) override { return {}; }
};
