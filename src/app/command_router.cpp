#include "app/command_router.h"

#include <exception>
#include <memory>
#include <utility>

CommandRouter::CommandRouter(int16_t& pollStop, std::function<void()> aggiornaStato)
    : pollStop_(pollStop), aggiornaStato_(std::move(aggiornaStato)) {}

void CommandRouter::add(std::string key, Command command, Kind kind) {
    commands_[std::move(key)] = {std::move(command), kind};
}

bool CommandRouter::has(std::string_view key) const {
    return commands_.contains(key);
}

bool CommandRouter::press(std::string_view key, Click click) {
    const bool judged = click == Click::Held || waitedFor_ > 0;
    return whenIdle([this, judged, key = std::string(key)] {
        if (!judged || !mayAct_ || mayAct_(key)) run(key);
    });
}

bool CommandRouter::whenIdle(std::function<void()> call) {
    if (waitedFor_) {
        later_.push_back(std::move(call));
        return false;
    }
    call();
    runWaiting();
    return true;
}

// Given back to a loop, they may come while a command of theirs runs: that command's return runs the rest.
void CommandRouter::runWaiting() {
    while (!waitedFor_ && !later_.empty()) {
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
        // Keys wait for a loop key's own command as for any other, and act inside its loop once it waits,
        // which only a key ends. A loop that ends before (or never starts) leaves them to act after it.
        const bool loop = entry.How == Kind::Loop && giveBack_;
        auto waiting = std::make_shared<bool>(entry.How == Kind::Single || loop);
        const auto stopWaiting = [this, waiting] {
            if (!std::exchange(*waiting, false)) return false;
            --waitedFor_;
            return true;
        };
        if (loop)
            giveBack_([stopWaiting, this] {
                if (stopWaiting()) runWaiting();
            });
        waitedFor_ += *waiting;
        bool refresh = false;
        try {
            refresh = entry.Run();
        } catch (const std::exception&) {
            // A failing command ends silently, without the refresh.
        }
        if (loop) giveBack_({});
        stopWaiting();
        if (!refresh) return;
    }
    if (aggiornaStato_) aggiornaStato_();
}
