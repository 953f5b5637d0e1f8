#pragma once
// Small pieces the bench windows share: result colours as style sheets, and round lamps.
#include <cstdint>
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
