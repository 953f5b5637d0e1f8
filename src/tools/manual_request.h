#pragma once
// frm_dialoga without its window: a Modbus request the user builds (node, function code and the
// fields as hex bytes), sent with the monitor on; the answer bytes and the result in words come back.
#include <cstdint>
#include <functional>
#include <string>

struct AppContext;

class ManualRequest {
  public:
    explicit ManualRequest(AppContext& ctx) : ctx_(ctx) {}

    // Checks the typed request and sends it; false when it was refused (Result says why) or failed.
    bool send(const std::string& node, const std::string& function, const std::string& fields);
    // The send repeated every second until stop, a failed exchange, a lost link or window close; refused
    // (Result says why) while a run, a request or a polling loop, its own too, is under way.
    void repeat(const std::string& node, const std::string& function, const std::string& fields);
    void stop();
    bool repeating() const { return repeating_; }

    std::string Result;           // the result code in words, or why the request was refused
    std::function<void()> onSent; // after every send, refused ones too: redraw

  private:
    bool refuse(const std::string& why); // shows why nothing was sent; false

    AppContext& ctx_;
    bool repeating_ = false;
};

// The result codes of the transaction in words.
std::string ResultText(uint8_t result);
