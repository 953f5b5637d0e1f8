#pragma once
// Message boxes, input boxes and file choosers, so that logic never blocks on a window.
#include <optional>
#include <string>

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, AbortRetryIgnore };
enum class MsgIcon { None, Information, Warning, Critical, Question };
enum class MsgChoice { Ok, Cancel, Yes, No, Abort, Retry, Ignore };

class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    virtual MsgChoice messageBox(const std::string& text, MsgButtons buttons = MsgButtons::Ok,
                                 MsgIcon icon = MsgIcon::None, const std::string& title = {}) = 0;
    // A box whose text is UTF-8, for one that quotes back what the user typed (which may hold characters
    // outside Latin-1). Boxes that only record their texts take the bytes as they are.
    virtual MsgChoice messageBoxUtf8(const std::string& text, MsgButtons buttons = MsgButtons::Ok,
                                     MsgIcon icon = MsgIcon::None, const std::string& title = {}) {
        return messageBox(text, buttons, icon, title);
    }
    // nullopt when cancelled.
    virtual std::optional<std::string> inputBox(const std::string& prompt, const std::string& title = {},
                                                const std::string& initial = {}) = 0;
    // filter in the "(*.prj)|*.prj|(*.*)|*.*|" form; an empty result means cancelled.
    virtual std::string openFile(const std::string& filter, const std::string& title = {}) = 0;
    virtual std::string saveFile(const std::string& filter, const std::string& title = {}) = 0;
};
