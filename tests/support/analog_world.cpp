#include "support/analog_world.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "support/sim_memory_access.h"

namespace {

constexpr double InputGain = 1.03; // the module reads 3 % high until K corrects it
constexpr double OutOffsetUa = 35; // output offset before the zero constant

// Counts per engineering unit of an input type.
int countsPerUnit(int code) {
    return code == 1 ? 100 : (code == 5 || code == 12 || code == 17) ? 10 : 1;
}

// The type byte of models 1 and 2 back to its input type.
int codeOfTypeByte(uint8_t b) {
    constexpr std::pair<uint8_t, int> Codes[]{{1, 1}, {7, 2}, {8, 3}, {17, 12}, {25, 5}};
    for (const auto& [typeByte, code] : Codes)
        if (typeByte == b) return code;
    return 0;
}

// The potentiometer input reads the wiper in percent: open (0) is full scale, and the bench's two
// resistor taps read 75 and 50; anything else reads as it is sourced.
double potPercent(double ohms) {
    return ohms == 0 ? 100 : ohms == 1700 ? 75 : ohms == 5000 ? 50 : ohms;
}

// The complete lines in what arrived so far; the rest waits for more.
std::vector<std::string> lines(std::string& pending, const std::string& bytes, char end) {
    pending += bytes;
    std::vector<std::string> out;
    for (size_t at; (at = pending.find(end)) != std::string::npos;) {
        out.push_back(pending.substr(0, at));
        if (!out.back().empty() && out.back().back() == '\r') out.back().pop_back();
        pending.erase(0, at + 1);
        if (!pending.empty() && pending[0] == '\n') pending.erase(0, 1);
    }
    return out;
}

} // namespace

std::string ImageText() {
    std::string text;
    for (size_t i = 0; i < ImageValues; ++i)
        text += std::to_string((i * 7) % 256) + "\r\n";
    return text;
}

AnalogWorld::AnalogWorld(int model) : model_(model), module_(model == 3 ? 255 : 1) {
    for (uint8_t n : {module_, uint8_t{247}, uint8_t{246}, uint8_t{10}})
        nodes_.try_emplace(n, n);
}

float AnalogWorld::constantOf(uint8_t node, int k) const {
    const Bytes b = nodes_.at(node).memory(static_cast<uint32_t>(43 + 3 * k), 3);
    const uint32_t bits = static_cast<uint32_t>(b[2]) << 24 | static_cast<uint32_t>(b[1]) << 16 |
                          static_cast<uint32_t>(b[0]) << 8;
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

uint16_t AnalogWorld::channelReading() const {
    double units;
    if (typeCode_ == 17) {
        units = potPercent(source_);
    } else if (typeCode_ == 5) {
        const auto corr = static_cast<int8_t>(nodes_.at(cjcNode_).memory(8, 1)[0]);
        return static_cast<uint16_t>(std::lround((source_ + Tamb + errors.cjcError) * 10) + corr);
    } else {
        const float k = constantOf(constNode_, constK_);
        units = source_ * InputGain * (k == 0 ? 1 : k); // a blank constant is an uncalibrated channel
    }
    return static_cast<uint16_t>(std::lround(units * countsPerUnit(typeCode_)) & 0xFFFF);
}

double AnalogWorld::outputMicroAmps() const {
    const int ch = model_ == 3 ? 1 : (relays_.count(205) ? 1 : 0);
    const Bytes c = nodes_.at(module_).memory(ch == 0 ? 24 : 20, 4);
    const double z = static_cast<int16_t>(c[0] | c[1] << 8), s = static_cast<int16_t>(c[2] | c[3] << 8);
    const double command = static_cast<int16_t>(held(module_, static_cast<uint16_t>(32 + ch)));
    const double drive = s != z ? (command - z) * 20000 / (s - z) : command;
    return errors.outputGain * drive + OutOffsetUa;
}

uint16_t AnalogWorld::inputRegister(uint8_t node, uint16_t reg) const {
    if (node == 10) return reg == 8 ? held(module_, 9) : 0;
    if (node != module_) return 0;
    if (reg == 1) return id1;
    if (reg == 2) return id2;
    if (reg == 8) return model_ == 3 ? dips_ : held(10, 9);
    if (reg >= 26 && reg <= 41) return channelReading();
    return held(node, reg);
}

Bytes AnalogWorld::respond(const Bytes& request) {
    std::lock_guard lock(mutex_);
    if (!supplyOn_ || request.size() < 2 || !nodes_.contains(request[0])) return {};
    return execute(request);
}

// The node answers as a simulated controller, over the readings and constants this bench computes.
Bytes AnalogWorld::execute(const Bytes& r) {
    SimController& n = nodes_.at(r[0]);
    const uint8_t f = r[1];
    if (f == 4 && r.size() >= 6)
        for (uint16_t reg = RequestWord(r, 2); reg < RequestWord(r, 2) + RequestWord(r, 4); ++reg)
            n.setInput(reg, inputRegister(r[0], reg));
    if (f == 6 && r.size() >= 6 && r[0] == module_ && RequestWord(r, 2) == 1216) {
        const uint16_t v = RequestWord(r, 4);
        typeCode_ = v >= 256 ? v >> 8 : v;
    }
    if (f == 20 && r.size() >= 7 && r[2] == 4) {
        const uint16_t address = RequestWord(r, 4);
        const uint8_t count = r[6];
        if (address == errors.refusedWriteAddress) return {r[0], static_cast<uint8_t>(f | 0x80), 4};
        const bool constants = r[0] == 247 || r[0] == 246;
        if (constants && count == 1 && address >= 11 && address <= 18 && r.size() >= 8)
            typeCode_ = codeOfTypeByte(r[7]);
        if (constants && count == 3 && address >= 43 && (address - 43) % 3 == 0)
            constNode_ = r[0], constK_ = static_cast<uint8_t>((address - 43) / 3);
        if (constants && count == 1 && address == 8) cjcNode_ = r[0];
    }
    return n.execute(r);
}

std::string AnalogWorld::relayUnit(const std::string& bytes) {
    std::lock_guard lock(mutex_);
    for (const std::string& line : lines(relayLine_, bytes, '\n')) {
        int slotChannel = 0;
        if (std::sscanf(line.c_str(), "rout:close (@%d)", &slotChannel) == 1) relays_.insert(slotChannel);
        if (std::sscanf(line.c_str(), "rout:open (@%d)", &slotChannel) == 1) relays_.erase(slotChannel);
    }
    return {};
}

std::string AnalogWorld::multimeter(const std::string& bytes) {
    std::lock_guard lock(mutex_);
    std::string reply;
    for (const std::string& line : lines(multLine_, bytes, '\n')) {
        if (line == ":CONF:CURR:DC") current_ = true;
        if (line == ":CONF:VOLT:DC") current_ = false;
        if (line == "SYST:BEEP") ++beeps;
        if (line == ":READ?" && !multimeterSilent) reply += readingLine();
    }
    return reply;
}

std::string AnalogWorld::multimeterLine() const {
    return locked([&] { return readingLine(); });
}

std::string AnalogWorld::readingLine() const {
    const double value = current_ ? outputMicroAmps() * 1e-6 : (model_ == 3 ? 18.2 : 14.5);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%+.6E\r\n", value);
    return buf;
}

std::string AnalogWorld::supply(const std::string& bytes) {
    std::lock_guard lock(mutex_);
    std::string reply;
    for (const std::string& line : lines(supplyLine_, bytes, '\r')) {
        supplyCommands_.push_back(line);
        if (line == "KOE") supplyOn_ = true;
        if (line == "KOD") supplyOn_ = false;
        if (line == "A") reply += "A0.123A\r";
    }
    return reply;
}

std::string AnalogWorld::calibrator(const std::string& bytes) {
    std::lock_guard lock(mutex_);
    std::string reply;
    const auto hundredths = static_cast<uint32_t>(std::lround(Tamb * 100));
    for (char ch : bytes) {
        if (calPos_ == 1) calCommand_ = static_cast<uint8_t>(ch);
        // Command 1 answers its data bytes with the reference temperature, the others echo.
        const bool data = calCommand_ == 1 && calPos_ >= 2 && calPos_ <= 5;
        reply += data ? static_cast<char>(hundredths >> (8 * (5 - calPos_)) & 0xFF) : ch;
        calPos_ = (calPos_ + 1) % 7;
    }
    return reply;
}

void AnalogWorld::operatorReads(const std::string& text) {
    const std::string prefix = "Impostare calibratore ";
    if (text.rfind(prefix, 0) == 0) {
        char* end = nullptr;
        const double value = std::strtod(text.c_str() + prefix.size(), &end);
        std::string unit = end;
        unit.erase(0, unit.find_first_not_of(' '));
        setCalibrator(value, unit);
    }
    if (text == "Impostare tutti i dip-switch su OFF") locked([&] { return dips_ = 0; });
}

void AnalogWorld::identifyAs(const std::string& modelCode) {
    const int code = std::stoi(modelCode.substr(0, 4), nullptr, 16);
    id1 = static_cast<uint16_t>((code & 0xF000) >> 4 | (code & 0x0F00) >> 8);
    id2 = static_cast<uint16_t>((code & 0x00F0) << 4 | (code & 0x000F));
}

void AnalogWorld::setCalibrator(double value, const std::string& unit) {
    std::lock_guard lock(mutex_);
    // The calibrator sources resistance in whole ohms.
    source_ = unit == "Ohm" ? std::round(value) : value;
    // JXV2569 takes its output value from the calibrator during the output calibration.
    if (unit.empty() && model_ == 3)
        nodes_.at(module_).setHolding(33, static_cast<uint16_t>(std::lround(value)));
}

Bytes AnalogWorld::memory(uint8_t node, uint16_t address, size_t count) const {
    return nodes_.at(node).memory(address, count);
}
