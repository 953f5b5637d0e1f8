#pragma once
#include "core/user_dialogs.h"

class QWidget;

// UserDialogs on Qt's standard boxes. Texts arrive as Latin-1 bytes (but for messageBoxUtf8); paths leave in
// the local encoding.
class QtUserDialogs : public UserDialogs {
  public:
    explicit QtUserDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    // The title of boxes that name none: the program's name.
    void setDefaultTitle(const std::string& title) { defaultTitle_ = title; }

    MsgChoice messageBox(const std::string& text, MsgButtons buttons, MsgIcon icon,
                         const std::string& title) override;
    MsgChoice messageBoxUtf8(const std::string& text, MsgButtons buttons, MsgIcon icon,
                             const std::string& title) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& initial) override;
    std::string openFile(const std::string& filter, const std::string& title) override;
    std::string saveFile(const std::string& filter, const std::string& title) override;

  private:
    const std::string& titleOr(const std::string& title) const {
        return title.empty() ? defaultTitle_ : title;
    }

    QWidget* parent_;
    std::string defaultTitle_;
};

// "(*.prj)|*.prj|(*.*)|*.*|" -> "(*.prj);;(*.*)": the descriptions, each already naming its patterns.
std::string qtFileFilter(const std::string& filter);
// The extension a save dialog adds to a name typed without one: the first pattern's ("*.hex" gives "hex"),
// none when that pattern has no fixed extension.
std::string saveSuffix(const std::string& filter);
