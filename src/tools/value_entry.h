#pragma once
// Input_Box's value entry without its window: a value typed for one register, written in the chosen
// value type through the device procedures. A text the type cannot hold is refused before anything
// is sent.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct AppContext;

class ValueEntry {
  public:
    explicit ValueEntry(AppContext& ctx) : ctx_(ctx) {}

    // Row captions from UiText 56-59; the type list: ValueTypeNames 0-9 and 13.
    void SetRes();
    // The register's label and name, for the dialog's first row.
    std::string registerText() const;
    // Writes text to Register as ValueType; false when refused (Message says why) or the write failed.
    bool write(const std::string& text);

    std::function<void()> onWritten; // after a write that went: the views show the cached value

    int Register = 0;
    uint8_t ValueType = 0;
    std::array<std::string, 4> RowCaptions;
    std::vector<uint8_t> TypeCodes;
    std::vector<std::string> TypeNames;
    std::string Message; // the outcome, for the dialog

  private:
    bool refuse(const std::string& why);
    AppContext& ctx_;
};
