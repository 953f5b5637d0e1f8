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

// RTU timing at a line speed in bits per second, a character being 11 bits on the wire. The gap that
// separates two frames: 3.5 character times (1.75 ms above 19200 bit/s), in microseconds rounded up.
int64_t RtuFrameGapUs(int baud);
// The silence that ends an answer whose length cannot be predicted: the frame gap plus
// RtuLatencyMarginMs for USB adapters, which hand bytes over in bursts. Whole milliseconds, rounded up.
constexpr int64_t RtuLatencyMarginMs = 20;
int64_t RtuSilenceMs(int baud);
// Time the given number of characters takes on the wire, rounded up.
int64_t RtuCharactersUs(int baud, int characters);
int64_t RtuCharactersMs(int baud, int characters);
// When the wait for an answer of unknown or unchecked length ends: the silence after the last arrival,
// after the time the characters still missing to the shortest answer need on the wire. An answer that
// came whole in one burst (as USB adapters deliver) ends one silence after its last byte.
int64_t RtuAnswerEndMs(int baud, int64_t lastArrivalMs, int received, int shortest);

// State of a Modbus TCP answer assembled from segments. Foreign: the first frame is whole but carries
// another transaction or protocol identifier (a late answer to an earlier request): drop its
// MbapHeaderSize + pduLength bytes and look again.
enum class MbapState { Incomplete, Complete, Foreign, Malformed };
struct MbapCheck {
    MbapState state = MbapState::Incomplete;
    int pduLength = 0; // unit identifier + function + data, when Complete or Foreign
};
// The answer to the request with this transaction identifier and protocol identifier 0: the length must
// cover unit and function and fit the receive buffer. The frame is what the length names: bytes beyond it
// are no part of it (the caller drops them).
MbapCheck CheckMbapAnswer(std::span<const uint8_t> received, int capacity, uint16_t transactionId);

// A device that does not echo the transaction identifier: the whole frame at the front of received
// carries identifier and protocol 0, and its unit, function and length are those of the answer to request.
bool IsZeroIdAnswer(std::span<const uint8_t> received, int pduLength, std::span<const uint8_t> request);
