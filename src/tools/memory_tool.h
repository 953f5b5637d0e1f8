#pragma once
// frm_eeprom without its window: a range of device memory, typed as hex addresses, read into a
// memory-image file (UploadHex) or written from one (DownloadHex) in 32-byte blocks.
#include <optional>
#include <string>
#include <utility>

#include "program/transfer/memory_image_transfer.h"

struct AppContext;

class MemoryTool {
  public:
    explicit MemoryTool(AppContext& ctx) : ctx_(ctx) {}

    // Blocks first .. last - 1 that cover the addresses from .. to (hex, 0000..FFFF, from <= to);
    // nothing when the text is not such a range.
    static std::optional<std::pair<int16_t, int16_t>> blockRange(const std::string& from,
                                                                 const std::string& to);

    // Each refuses a bad range (message box) or a busy link (log line) and sends nothing. The upload's
    // outcome is in the log (true: it ran); the download is true when every block was written.
    bool upload(const TransferView& view, const std::string& from, const std::string& to);
    bool download(const TransferView& view, const std::string& from, const std::string& to);
    bool running() const { return running_; }

    MemoryImageFiles files;

  private:
    template <class F> bool run(const std::string& from, const std::string& to, F transfer);
    AppContext& ctx_;
    bool running_ = false;
};
