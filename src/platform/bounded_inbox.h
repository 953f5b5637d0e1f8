#pragma once
// Bytes a link received and nobody has read yet, at most Limit of them. A reader takes them soon after
// they arrive (an answer is a few hundred bytes at most); what piles up beyond the limit arrived while
// nothing waited, and is dropped and counted, so a peer that talks without end cannot grow the program.
#include <cstddef>
#include <string>
#include <utility>

class BoundedInbox {
  public:
    static constexpr size_t Limit = 8192;
    // What a link drains from the system in one go when it throws input away; the rest waits for the
    // next turn of the event loop, so that a flood cannot keep the program in one loop.
    static constexpr size_t DrainLimit = 8 * Limit;

    void append(const char* bytes, size_t size) {
        if (held_.size() + size > Limit) {
            dropped_ += held_.size();
            held_.clear();
        }
        if (size > Limit) { // only the newest bytes can still be the start of an answer
            dropped_ += size - Limit;
            bytes += size - Limit;
            size = Limit;
        }
        held_.append(bytes, size);
    }
    std::string take() { return std::exchange(held_, {}); }
    void clear() { held_.clear(); }
    // The bytes dropped since the last call.
    size_t takeDropped() { return std::exchange(dropped_, 0); }

  private:
    std::string held_;
    size_t dropped_ = 0;
};
