#include "comm/modbus_frame.h"

namespace {

constexpr int CrcSize = 2;
constexpr int ExceptionAnswerLength = 5;   // address, function | 0x80, code, CRC
constexpr int EchoAnswerLength = 8;        // address, function, two 16-bit fields, CRC
constexpr int MemoryWriteAnswerLength = 9; // the request's 7 header bytes echoed, CRC

constexpr int BitsPerCharacter = 11; // start, 8 data, parity or second stop, stop
constexpr int FixedGapAbove = 19200; // above this speed the gap is a fixed time
constexpr int64_t FixedGapUs = 1750;
constexpr int SlowestBaud = 1200; // an unreadable speed gets the longest times of the list

enum class Shape { ByteCount, Echo, MemoryAccess, Unknown };

constexpr Shape ShapeOf(uint8_t function) {
    switch (function) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 23:
        return Shape::ByteCount;
    case 5:
    case 6:
    case 15:
    case 16:
        return Shape::Echo;
    case 20:
        return Shape::MemoryAccess;
    default:
        return Shape::Unknown;
    }
}

} // namespace

int64_t RtuCharactersUs(int baud, int characters) {
    if (baud <= 0) baud = SlowestBaud;
    const int64_t bits = int64_t{BitsPerCharacter} * characters;
    return (bits * 1000000 + baud - 1) / baud;
}

int64_t RtuCharactersMs(int baud, int characters) {
    return (RtuCharactersUs(baud, characters) + 999) / 1000;
}

int64_t RtuFrameGapUs(int baud) {
    if (baud <= 0) baud = SlowestBaud;
    return baud > FixedGapAbove ? FixedGapUs : (int64_t{BitsPerCharacter} * 3500000 + baud - 1) / baud;
}

int64_t RtuSilenceMs(int baud) {
    return (RtuFrameGapUs(baud) + 999) / 1000 + RtuLatencyMarginMs;
}

int64_t RtuAnswerEndMs(int baud, int64_t lastArrivalMs, int received, int shortest) {
    const int missing = shortest > received ? shortest - received : 0;
    return lastArrivalMs + RtuCharactersMs(baud, missing) + RtuSilenceMs(baud);
}

int PredictRtuAnswerLength(std::span<const uint8_t> request, std::span<const uint8_t> answer) {
    if (answer.size() < 2) return 0;
    if (request.size() < 2) return -1;
    const uint8_t function = answer[1];
    if (function == (request[1] | 0x80)) return ExceptionAnswerLength;
    if (function != request[1]) return -1;
    switch (ShapeOf(function)) {
    case Shape::ByteCount:
        return answer.size() < 3 ? 0 : 3 + answer[2] + CrcSize;
    case Shape::Echo:
        return EchoAnswerLength;
    case Shape::MemoryAccess:
        // The reads answer [slave, 20, count, data]: their length is known from the request's count.
        if (request.size() < 7) return -1;
        return request[2] == 4 ? MemoryWriteAnswerLength : 3 + request[6] + CrcSize;
    case Shape::Unknown:
        break;
    }
    return -1;
}

MbapCheck CheckMbapAnswer(std::span<const uint8_t> received, int capacity, uint16_t transactionId) {
    if (received.size() < static_cast<size_t>(MbapHeaderSize)) return {};
    const int length = received[4] * 256 + received[5];
    if (length < 2 || length > capacity) return {MbapState::Malformed, 0};
    const size_t whole = static_cast<size_t>(MbapHeaderSize + length);
    if (received.size() < whole) return {};
    const bool ours = received[0] == (transactionId >> 8) && received[1] == (transactionId & 0xFF) &&
                      received[2] == 0 && received[3] == 0;
    if (!ours) return {MbapState::Foreign, length};
    return {MbapState::Complete, length};
}

bool IsZeroIdAnswer(std::span<const uint8_t> received, int pduLength, std::span<const uint8_t> request) {
    if (received.size() < static_cast<size_t>(MbapHeaderSize + pduLength) || pduLength < 2 ||
        request.size() < 2)
        return false;
    if (received[0] != 0 || received[1] != 0 || received[2] != 0 || received[3] != 0) return false;
    const auto pdu = received.subspan(MbapHeaderSize, static_cast<size_t>(pduLength));
    if (pdu[0] != request[0]) return false;
    const int predicted = PredictRtuAnswerLength(request, pdu);
    return predicted > 0 && predicted - CrcSize == pduLength;
}
