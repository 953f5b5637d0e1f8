#pragma once
// The factory windows' text boxes bound to the texts of their headless state: typing goes into the
// state, and a redraw puts the state's texts back where they differ (so the cursor stays put).
#include <functional>
#include <QString>
#include <string>
#include <utility>
#include <vector>

class QLineEdit;
class QPushButton;
class QWidget;

class FieldBindings {
  public:
    // A box for the text; typed is called after each change the user makes.
    QLineEdit* edit(std::string& text, const QString& objectName, int width = 60,
                    std::function<void()> typed = {});
    // A button of a command: disabled while the window's commands are locked.
    QPushButton* command(const QString& caption, const QString& objectName, std::function<void()> clicked);
    void refresh(bool locked);

  private:
    std::vector<std::pair<QLineEdit*, std::string*>> edits_;
    std::vector<QPushButton*> commands_;
};

QString l1(const std::string& text);
