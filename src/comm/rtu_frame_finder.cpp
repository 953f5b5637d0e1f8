#include "comm/rtu_frame_finder.h"

void RtuFrameFinder::feed(std::span<const uint8_t> bytes, const std::function<bool(uint8_t, uint8_t)>& seeks,
                          const std::function<void(uint8_t)>& found) {
    for (const uint8_t byte : bytes) {
        // Ending here, a frame's check bytes are last_ and byte: what came before them is its body.
        for (size_t i = 0; i < open_; ++i) {
            Begun& frame = begun_[(oldest_ + i) % begun_.size()];
            frame.crc = Crc16Modbus({&beforeLast_, 1}, frame.crc);
            if (++frame.length >= ShortestFrame && frame.crc.CrcLo == last_ && frame.crc.CrcHi == byte)
                found(frame.address);
        }
        if (open_ > 0 && begun_[oldest_].length == LongestFrame) {
            oldest_ = (oldest_ + 1) % begun_.size();
            --open_;
        }
        if (anyTaken_ && seeks(last_, byte)) begun_[(oldest_ + open_++) % begun_.size()] = {Crc16{}, 2, last_};
        anyTaken_ = true;
        beforeLast_ = last_;
        last_ = byte;
    }
}
