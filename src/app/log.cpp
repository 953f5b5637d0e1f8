#include "app/log.h"

#include <ctime>

void Log::LogWrite(const std::string& text) {
    lines_.push_back(text + "  ");
    if (onChanged) onChanged();
}

void Log::LogStart() {
    std::time_t now = std::time(nullptr);
    char buf[32];
    std::strftime(buf, sizeof buf, "%d/%m/%Y %H:%M:%S", std::localtime(&now));
    LogWrite(std::string("-- ") + buf + " --");
}

void Log::LogClear() {
    lines_.clear();
    if (onChanged) onChanged();
}
