#include "served_controller.h"

#include "comm/device_procedures.h"
#include "support/sim_memory_access.h"

namespace {

constexpr struct {
    uint8_t code;
    const char* name;
} Commands[] = {{CmdRun, "run"}, {CmdRunToBreak, "run to break"}, {CmdHalt, "halt"}, {CmdStop, "stop"}};

constexpr const char* MemorySubCommands[] = {"", "read image",   "read memory",
                                             "", "write memory", "read flash"};

std::string range(uint32_t first, uint32_t count) {
    return std::to_string(first) + " x" + std::to_string(count);
}

std::string commandName(uint16_t value) {
    for (const auto& c : Commands)
        if (c.code == value) return c.name;
    return "unknown";
}

// The digit values of a four-digit hexadecimal model code, one per identification byte.
uint8_t hexDigit(char c) {
    return static_cast<uint8_t>(c <= '9' ? c - '0' : c - 'A' + 10);
}

} // namespace

std::string RequestSummary(const Bytes& r) {
    if (r.size() < 2) return "short frame";
    const std::string head = "node " + std::to_string(r[0]) + ": ";
    const uint8_t f = r[1];
    if ((f == 3 || f == 4 || f == 6 || f == 16) && r.size() >= 6) {
        const uint16_t first = RequestWord(r, 2), second = RequestWord(r, 4);
        if (f != 6)
            return head +
                   (f == 4   ? "read input "
                    : f == 3 ? "read holding "
                             : "write holding ") +
                   range(first, second);
        const std::string write =
            head + "write holding " + std::to_string(first) + " = " + std::to_string(second);
        return first == CommandRegister ? write + " (command " + commandName(second) + ")" : write;
    }
    if (f == MemoryAccessFunction && r.size() >= 7 && r[2] < std::size(MemorySubCommands) &&
        *MemorySubCommands[r[2]]) {
        const uint32_t address = static_cast<uint32_t>(r[3] << 16 | r[4] << 8 | r[5]);
        const std::string access = head + MemorySubCommands[r[2]] + " " + range(address, r[6]);
        if (r[2] != WriteMemory || address != ModeByteAddress || r.size() < 8) return access;
        return access + (r[7] == ModeDebug ? " (mode debug)" : r[7] == ModeRelease ? " (mode release)" : "");
    }
    return head + "function " + std::to_string(f) + ", " + std::to_string(r.size()) + " bytes";
}

ServedController::ServedController(const ModelRecord& model, uint8_t node, Teller tell)
    : programBase_(model.ProgramBase), tell_(std::move(tell)), device_(node), tcp_(node), rtu_(node) {
    const std::string& code = model.ModelCode;
    if (code.size() == 4)
        device_.setIdentification(hexDigit(code[0]), hexDigit(code[1]), hexDigit(code[2]), hexDigit(code[3]));
    for (SimController* line : {&tcp_, &rtu_})
        line->setResponder([this, line](const Bytes& r) { return respond(*line, r); });
}

Bytes ServedController::respond(SimController& line, const Bytes& request) {
    line.clearTranscript(); // the lines serve for hours: they keep no history
    {
        std::lock_guard lock(tellMutex_);
        tell_(RequestSummary(request));
    }
    const bool broadcast = request[0] == 0 || request[0] == 255;
    if (request[0] != device_.node() && !broadcast) return {};
    Bytes asked = request;
    // The running image is the program area: a memory read from the program's base.
    const uint32_t address =
        asked.size() >= 7 ? static_cast<uint32_t>(asked[3] << 16 | asked[4] << 8 | asked[5]) + programBase_
                          : 0;
    if (asked.size() >= 7 && asked[1] == MemoryAccessFunction && asked[2] == ReadImage &&
        address <= 0xFFFFFF) {
        asked[2] = ReadMemory;
        asked[3] = static_cast<uint8_t>(address >> 16);
        asked[4] = static_cast<uint8_t>(address >> 8);
        asked[5] = static_cast<uint8_t>(address);
    }
    Bytes answer = device_.execute(asked);
    // One register space, as a controller has: what functions 6 and 16 write, function 4 reads.
    const uint8_t f = asked[1];
    if ((f == 6 || f == 16) && asked.size() >= 6 && answer.size() >= 2 && answer[1] == f) {
        const uint16_t first = RequestWord(asked, 2), count = f == 6 ? 1 : RequestWord(asked, 4);
        for (uint32_t r = first; r < uint32_t{first} + count && r <= 0xFFFF; ++r)
            device_.setInput(static_cast<uint16_t>(r), device_.holding(static_cast<uint16_t>(r)));
    }
    if (broadcast || answer.empty()) return {};
    std::lock_guard lock(tellMutex_);
    if (lateNth_ > 0 && ++answered_ % lateNth_ == 0) {
        line.inject({SimFault::Delay, lateMs_}); // taken by this answer, which the line sends next
        tell_("  answer held back " + std::to_string(lateMs_) + " ms");
    }
    return answer;
}
