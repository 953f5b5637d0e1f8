#pragma once
// Toolbar1_ButtonClick: every toolbar key runs through here. It stops any running loop first
// (PollStop := 1), runs the command of the key and ends with the status refresh.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

class CommandRouter {
  public:
    // A command returns false when the closing status refresh must be skipped.
    using Command = std::function<bool()>;

    CommandRouter(int16_t& pollStop, std::function<void()> aggiornaStato);
    void add(std::string key, Command command);
    bool has(std::string_view key) const;
    void press(std::string_view key);

  private:
    int16_t& pollStop_;
    std::function<void()> aggiornaStato_;
    std::map<std::string, Command, std::less<>> commands_;
};
