#include "app/command_router.h"

#include <exception>

CommandRouter::CommandRouter(int16_t& pollStop, std::function<void()> aggiornaStato)
    : pollStop_(pollStop), aggiornaStato_(std::move(aggiornaStato)) {}

void CommandRouter::add(std::string key, Command command) {
    commands_[std::move(key)] = std::move(command);
}

bool CommandRouter::has(std::string_view key) const {
    return commands_.contains(key);
}

void CommandRouter::press(std::string_view key) {
    pollStop_ = 1;
    auto it = commands_.find(key);
    if (it != commands_.end()) {
        // A command copied out, so a nested press that re-registers keys cannot pull it from under us.
        Command command = it->second;
        try {
            if (!command()) return;
        } catch (const std::exception&) {
            return; // a failing command ends silently, without the refresh
        }
    }
    if (aggiornaStato_) aggiornaStato_();
}
