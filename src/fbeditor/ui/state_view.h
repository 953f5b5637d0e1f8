#pragma once
// Drawing the editor's headless state into Qt controls; texts are single bytes (Latin-1).
#include <cstdint>
#include <QColor>
#include <QString>
#include <string>

class QComboBox;
struct ComboBox;

inline QString latin1(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}
inline std::string bytes(const QString& s) {
    return s.toLatin1().toStdString();
}
// A colour value 0x00BBGGRR as a QColor.
inline QColor fromBgr(uint32_t c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

// Redraws a combo box from its state without raising its signals; the list is rebuilt only when it
// changed and the text only when it differs, so that typing and an open list are not disturbed.
void drawCombo(QComboBox& box, const ComboBox& state);
