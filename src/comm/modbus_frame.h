#pragma once
// Framing rules of the Modbus answers: how long an RTU answer will be, and when an MBAP answer is whole.
// Pure functions over byte spans, so they are tested and fuzzed without a link.
#include <cstdint>
#include <span>

constexpr int MbapHeaderSize = 6;
constexpr int MaxTcpRequest = 255; // the MBAP length goes out in one byte

// Total length (CRC included) of the RTU answer to request, judged from the answer bytes so far.
// 0: not enough bytes yet to tell; -1: cannot be predicted (the answer then ends on silence).
int PredictRtuAnswerLength(std::span<const uint8_t> request, std::span<const uint8_t> answer);

// State of a Modbus TCP answer assembled from segments.
enum class MbapState { Incomplete, Complete, Malformed };
struct MbapCheck {
    MbapState state = MbapState::Incomplete;
    int pduLength = 0; // unit identifier + function + data, when Complete
};
// Protocol identifier must be 0; the length must cover unit and function and fit the receive buffer;
// bytes beyond the announced length make the answer malformed.
MbapCheck CheckMbapAnswer(std::span<const uint8_t> received, int capacity);
