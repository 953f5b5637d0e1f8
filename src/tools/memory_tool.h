#pragma once
// frm_eeprom without its window: a range of device memory, typed as hex addresses, read into a
// memory-image file or written from one. The device moves memory in 32-byte blocks; the tool reads and
// writes exactly the typed bytes: a block the range covers only in part is read first and written back
// with only the range's bytes changed.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "program/transfer/transfer_view.h"

struct AppContext;

class MemoryTool {
  public:
    struct Range {
        int first = 0, last = 0; // byte addresses, both inside the range
        int size() const { return last - first + 1; }
    };

    explicit MemoryTool(AppContext& ctx) : ctx_(ctx) {}

    // The addresses from .. to (hex, 0000..FFFF, from <= to); nothing when the text is not such a range.
    static std::optional<Range> byteRange(const std::string& from, const std::string& to);

    // Each refuses a bad range, a busy link or a bad file with a message that says why, and then sends
    // nothing. upload is true when the file was written, download when every byte of the range went.
    bool upload(const TransferView& view, const std::string& from, const std::string& to);
    bool download(const TransferView& view, const std::string& from, const std::string& to);
    bool running() const { return running_; }

  private:
    template <class F> bool run(const std::string& from, const std::string& to, F transfer);
    // The blocks that hold the range, one step per block, then finish, with the progress bar and the log
    // lines.
    bool eachBlock(const TransferView& view, const char* what, const Range& range,
                   const std::function<bool(int address, std::span<uint8_t, 32> block)>& step,
                   const std::function<bool()>& finish = {});
    void refuse(const std::string& text);

    AppContext& ctx_;
    bool running_ = false;
};
