#include "app/command_router.h"

#include <exception>

CommandRouter::CommandRouter(int16_t& pollStop, std::function<void()> aggiornaStato)
    : pollStop_(pollStop), aggiornaStato_(std::move(aggiornaStato)) {}

void CommandRouter::add(std::string key, Command command, Kind kind) {
    commands_[std::move(key)] = {std::move(command), kind};
}

bool CommandRouter::has(std::string_view key) const {
    return commands_.contains(key);
}

bool CommandRouter::press(std::string_view key) {
    return whenIdle([this, key = std::string(key)] { run(key); });
}

bool CommandRouter::whenIdle(std::function<void()> call) {
    if (singleRunning_) {
        later_.push_back(std::move(call));
        return false;
    }
    call();
    runWaiting();
    return true;
}

// Given back to a loop, they may come while a command of theirs runs: that command's return runs the rest.
void CommandRouter::runWaiting() {
    while (!singleRunning_ && !later_.empty()) {
        const std::function<void()> next = std::move(later_.front());
        later_.pop_front();
        next();
    }
}

void CommandRouter::run(std::string_view key) {
    pollStop_ = 1;
    auto it = commands_.find(key);
    if (it != commands_.end()) {
        // Copied out, so a nested press that re-registers keys cannot pull it from under us.
        Entry entry = it->second;
        const int guard = entry.How == Kind::Single ? 1 : 0;
        // The keys waiting behind a loop key would wait for its loop, which only a key ends: they act
        // inside it. A loop that ends before (or never starts) leaves them to act after it.
        const bool giveBack = !guard && !later_.empty() && giveBack_;
        if (giveBack) giveBack_([this] { runWaiting(); });
        singleRunning_ += guard;
        bool refresh = false;
        try {
            refresh = entry.Run();
        } catch (const std::exception&) {
            // A failing command ends silently, without the refresh.
        }
        singleRunning_ -= guard;
        if (giveBack) giveBack_({});
        if (!refresh) return;
    }
    if (aggiornaStato_) aggiornaStato_();
}
