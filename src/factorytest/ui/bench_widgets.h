#pragma once
// Small pieces the bench windows share: result colours as style sheets, round lamps, and the close that
// ends a window's work.
#include <cstdint>
#include <functional>
#include <QLabel>
#include <QString>

// A bench colour (red + 256 x green + 65536 x blue) as a background style.
QString BenchBackground(uint32_t colour);
// Sets the style sheet only when it changed: applying one is costly.
void ApplyStyle(QWidget* w, const QString& css);

// A round indicator: filled with its colour when lit, hollow when dark.
class Lamp : public QLabel {
  public:
    explicit Lamp(QWidget* parent = nullptr);
    void setLit(bool lit, uint32_t colour);
};

// Calls unload whenever the window is closed (by its frame, or with the program), so that what the
// window started ends with it.
void UnloadOnClose(QWidget* window, std::function<void()> unload);
