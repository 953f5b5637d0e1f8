#pragma once
// Captions from the loaded language texts; before any text is loaded the design caption shows.
#include <QString>

#include "core/shell_state.h"

inline QString fromLatin1(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

inline QString uiText(const ShellState& shell, int key, const char* designCaption) {
    const std::string& t = shell.UiText[static_cast<size_t>(key)];
    return t.empty() ? QString::fromLatin1(designCaption) : fromLatin1(t);
}

// Twips (1/1440 inch) to pixels at the screen's logical resolution.
int twipsToPixels(int twips, double logicalDpi);
