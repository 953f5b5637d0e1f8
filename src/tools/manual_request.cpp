#include "tools/manual_request.h"

#include <charconv>
#include <sstream>
#include <vector>

#include "core/app_context.h"
#include "comm/byte_helpers.h"
#include "comm/poll_loop.h"
#include "comm/transaction.h"
#include "tools/tool_guard.h"

namespace {

constexpr double RepeatSeconds = 1.0;
constexpr int MaxRequest = BufferSize - 8; // room for the check bytes or the MBAP header

std::optional<uint8_t> decimalByte(const std::string& text, int lo) {
    int v = 0;
    const char* end = text.data() + text.size();
    auto r = std::from_chars(text.data(), end, v);
    if (text.empty() || r.ec != std::errc() || r.ptr != end || v < lo || v > 255) return std::nullopt;
    return static_cast<uint8_t>(v);
}

// Blank-separated bytes of one or two hex digits each.
std::optional<std::vector<uint8_t>> hexBytes(const std::string& text) {
    std::vector<uint8_t> bytes;
    std::istringstream in(text);
    for (std::string word; in >> word;) {
        auto b = word.size() <= 2 ? HexPairToByte(word.size() == 1 ? "0" + word : word) : std::nullopt;
        if (!b) return std::nullopt;
        bytes.push_back(*b);
    }
    return bytes;
}

} // namespace

std::string ResultText(uint8_t result) {
    switch (result) {
    case ComOk:
        return "OK";
    case ComTimeout:
        return "No answer or a damaged answer";
    case ComWrongAnswer:
        return "Wrong answer (other address or function, or an exception)";
    default:
        return "Not connected";
    }
}

bool ManualRequest::refuse(const std::string& why) {
    Result = why;
    if (onSent) onSent();
    return false;
}

bool ManualRequest::send(const std::string& node, const std::string& function, const std::string& fields) {
    auto n = decimalByte(node, 0);
    auto f = decimalByte(function, 1);
    auto data = hexBytes(fields);
    if (!n || !f || !data || int(data->size()) + 2 > MaxRequest)
        return refuse(!n   ? "Node: a number from 0 to 255"
                      : !f ? "Function: a number from 1 to 255"
                           : "Fields: hex bytes such as 00 0A, at most " + std::to_string(MaxRequest - 2));
    if (!ToolMaySend(ctx_))
        return refuse("Not sent: " + std::string(ctx_.comm.RunUnderWay) + " is under way");
    CommState& comm = ctx_.comm;
    comm.TxBuffer[0] = *n;
    comm.TxBuffer[1] = *f;
    std::copy(data->begin(), data->end(), comm.TxBuffer.begin() + 2);
    comm.TxLength = int(data->size()) + 2;
    comm.MonitorOn = -1;
    const uint8_t result = TrasmettiRicevi(ctx_, 0);
    comm.MonitorOn = 0;
    Result = ResultText(result);
    // An exception answer carries the function code with its top bit set and the exception code.
    if (result == ComWrongAnswer && comm.RxLength >= 3 && comm.RxBuffer[0] == *n &&
        comm.RxBuffer[1] == (*f | 0x80))
        Result = "Exception answer, code " + std::to_string(comm.RxBuffer[2]);
    if (onSent) onSent();
    return result == ComOk;
}

void ManualRequest::repeat(const std::string& node, const std::string& function, const std::string& fields) {
    if (const std::string why = ToolRefusal(ctx_); !why.empty()) {
        refuse("Not sent: " + why);
        return;
    }
    repeating_ = true;
    ctx_.comm.MonitorStop = 0;
    ctx_.comm.PollStop = 0;
    auto pass = [&] { return ctx_.comm.MonitorStop == 0 && send(node, function, fields); };
    PollLoop(ctx_, RepeatSeconds, pass, PollWait::UntilStop, PollStart::AtOnce);
    ctx_.comm.PollStop = 1;
    repeating_ = false;
}

void ManualRequest::stop() {
    ctx_.comm.MonitorStop = 1;
    if (repeating_) ctx_.comm.PollStop = 1;
}
