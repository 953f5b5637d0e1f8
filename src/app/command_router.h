#pragma once
// Toolbar1_ButtonClick: every toolbar key runs through here. It stops any running loop first
// (PollStop := 1), runs the command of the key and ends with the status refresh.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>

class CommandRouter {
  public:
    // A command returns false when the closing status refresh must be skipped.
    using Command = std::function<bool()>;
    // A loop command waits for PollStop and lets other keys run from inside its wait, so that they end
    // it; a key pressed while any other command runs (a connect, a transaction) acts once that command
    // has returned, in the order pressed, so no second request starts on the link. Keys pressed while a
    // loop key sends its own command, and those still waiting when it starts, act from inside its loop
    // once it waits, as if pressed while it runs: a Stop behind it ends it after the loop key's command.
    enum class Kind { Single, Loop };

    CommandRouter(int16_t& pollStop, std::function<void()> aggiornaStato);
    void add(std::string key, Command command, Kind kind = Kind::Single);
    bool has(std::string_view key) const;
    // A key clicked now, which was on as it was clicked, or a click held for a request's wait, which may
    // come back after input that turned its key off.
    enum class Click { Now, Held };
    // False when the key waits for the running command to return. A key that waited, or whose click was
    // held, acts in its turn only if it is on then (see checkTurnWith).
    bool press(std::string_view key, Click click = Click::Now);
    // What is no key (a menu item) waits the same way: it runs now, or once the running command has
    // returned, in turn with the keys pressed meanwhile. False when it waits.
    bool whenIdle(std::function<void()> call);
    // A command runs that keys and calls wait for.
    bool commandRunning() const { return waitedFor_ > 0; }
    // The program has closed: the keys and calls still waiting for the running command are dropped.
    void dropWaiting() { later_.clear(); }
    // How the keys waiting behind a loop key reach its loop: giveBack leaves a call for the loop's first
    // wait (Pausa), to run ahead of the input that came after them; an empty call takes it back. Without
    // it a loop key's command is not waited for.
    void passWaitingTo(std::function<void(std::function<void()>)> giveBack) {
        giveBack_ = std::move(giveBack);
    }
    // A key that waited or was held acts in its turn only if mayAct(key) says so then: the command before it
    // may have turned its key off (a switch to Release Mode greys Run). mayAct tells the log why it does not
    // act.
    void checkTurnWith(std::function<bool(std::string_view key)> mayAct) { mayAct_ = std::move(mayAct); }

  private:
    void run(std::string_view key);
    void runWaiting();

    struct Entry {
        Command Run;
        Kind How;
    };
    int16_t& pollStop_;
    std::function<void()> aggiornaStato_;
    std::map<std::string, Entry, std::less<>> commands_;
    int waitedFor_ = 0; // commands running that keys wait for: the single ones, loop keys until they wait
    std::deque<std::function<void()>> later_; // keys pressed and calls made while a command runs
    std::function<void(std::function<void()>)> giveBack_;
    std::function<bool(std::string_view)> mayAct_;
};
