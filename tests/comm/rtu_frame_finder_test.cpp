// Frames that check, found among stray bytes in batches cut anywhere.
#include <gtest/gtest.h>

#include <vector>

#include "comm/byte_helpers.h"
#include "comm/rtu_frame_finder.h"

namespace {

using B = std::vector<uint8_t>;

B withCrc(B frame) {
    const Crc16 crc = Crc16Modbus(frame);
    frame.push_back(crc.CrcLo);
    frame.push_back(crc.CrcHi);
    return frame;
}

B operator+(B a, const B& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(RtuFrameFinder, FindsOnlyFramesThatCheckFromTheAddressesSought) {
    const B answer = withCrc({11, 4, 2, 0, 100});
    B longest{11, 4, 255};
    longest.resize(258, 0x5A);
    B tooLong{11, 4, 255};
    tooLong.resize(259, 0x11);
    B begun; // a frame begun at every other byte, for longer than the longest frame
    for (int i = 0; i < 150; ++i)
        begun = begun + B{11, 4};
    const struct {
        B bytes;
        size_t cut; // the first batch's length
        B found;
    } cases[] = {
        {answer, 7, {11}},
        {B{0x00} + answer, 3, {11}},                            // a stray byte before it, cut mid-frame
        {begun + answer + B(5, 0xFF), 299, {11}},               // after them
        {withCrc({11, 0x84, 2}), 2, {11}},                      // an exception answer
        {B(5, 0xFF) + B(5, 0x00), 4, {}},                       // stray bytes, though they check from 255
        {withCrc({10, 4, 2, 0, 100}), 7, {}},                   // an address not sought
        {withCrc({11, 3, 2, 0, 100}), 7, {}},                   // a function not sought
        {B(answer.begin(), answer.end() - 1) + B{0x00}, 7, {}}, // a wrong check byte
        {B(answer.begin() + 1, answer.end()), 6, {}},           // the address lost
        {withCrc(longest), 100, {11}},
        {withCrc(tooLong), 100, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        RtuFrameFinder finder;
        B found;
        const auto seeks = [](uint8_t address, uint8_t function) {
            return address == 11 && (function == 4 || function == 0x84);
        };
        const auto find = [&found](uint8_t address) { found.push_back(address); };
        finder.feed(std::span(c.bytes).first(c.cut), seeks, find);
        finder.feed(std::span(c.bytes).subspan(c.cut), seeks, find);
        EXPECT_EQ(found, c.found);
    }
}

} // namespace
