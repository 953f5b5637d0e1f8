#include "core/log.h"

#include <ctime>

void Log::LogWrite(const std::string& text) {
    lines_.push_back(text + "  ");
    selected_ = static_cast<int>(lines_.size()) - 1;
    changed();
}

void Log::LogStart() {
    std::time_t now = std::time(nullptr);
    char buf[64] = {};
    // The system's own date and time form (the program runs with the user's locale).
    std::strftime(buf, sizeof buf, "%x %X", std::localtime(&now));
    lines_.push_back(std::string("-- ") + buf + " --");
    changed();
}

void Log::LogClear() {
    lines_.clear();
    selected_ = -1;
    changed();
}

void Log::changed() {
    if (onChanged) onChanged();
}
