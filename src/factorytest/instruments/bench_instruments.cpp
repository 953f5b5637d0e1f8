#include "factorytest/instruments/bench_instruments.h"

#include <algorithm>
#include <chrono>

#include "core/event_pump.h"
#include "core/log.h"
#include "core/user_dialogs.h"
#include "factorytest/instruments/multimeter_reply.h"

namespace {

// A meter that has sent nothing for this long has stopped sending: many character times at the meters'
// speeds, and more than the gaps that a USB serial adapter, or a meter that sends slowly, leaves
// between bytes.
constexpr double LineQuietSeconds = 0.1;
// A stray before the query and another after its answer cost a query each.
constexpr int MaxQueries = 3;

// What waits on the port as the query goes: text without its line end, or else a line end that cut text
// less than limitMs before, the time the read gives a line to come whole and so the longest pause it
// allows within a line. No earlier line end counts, nor any that ended a line a read took.
MultimeterQuery BeforeTheQuery(const InstrumentPort& port, const std::string& meter, int limitMs) {
    const std::string& head = port.lines().head();
    MultimeterQuery query{meter, limitMs, HoldsText(head) ? head : "", std::nullopt};
    const auto& end = port.lastLineEnd();
    if (query.waited.empty() && end &&
        InstrumentPort::Clock::now() - end->at <= std::chrono::milliseconds(limitMs))
        query.cutShortlyBefore = end->line;
    return query;
}

// Sends the query and judges the lines that come after it, within limitMs, until the reading or a refusal.
// Once a text was passed over, or while a CR came last, only a quiet line tells what follows, and the
// line is polled until it falls quiet: the line a CR ended then ends with it. True when the line fell
// quiet after a text was passed over and mayAskAgain: the meter has said all it will, and is asked again.
bool Ask(InstrumentPort& port, EventPump& pump, MultimeterReply& reply, int limitMs, bool mayAskAgain) {
    port.send(MultReadCommand);
    pump.pausa(1);
    const auto readOn = [&] {
        const bool came = port.receive();
        for (std::optional<FollowedLine> line; !reply.done() && (line = port.nextLine());)
            reply.judge(*line);
        reply.bound(port.lines());
        return came;
    };
    const auto quietTells = [&] {
        return port.lines().crLast() || (mayAskAgain && !reply.passedOver.empty());
    };
    int polls = std::max(1, limitMs / 100);
    const auto fallsQuiet = [&] {
        while (!reply.done() && quietTells() && polls > 0) {
            --polls;
            pump.pausa(LineQuietSeconds);
            if (!readOn()) return true;
        }
        return false;
    };
    const int64_t deadline = pump.nowMs() + limitMs;
    const auto whole = [&] { return readOn(), reply.done() || quietTells(); };
    while (!reply.done() && polls > 0 &&
           pump.waitUntil(whole, static_cast<int>(std::max<int64_t>(0, deadline - pump.nowMs())), false)) {
        if (!fallsQuiet()) continue;
        if (auto line = port.lineFellQuiet()) reply.judge(*line);
        if (!reply.done() && mayAskAgain && !reply.passedOver.empty()) return true;
    }
    return false;
}

} // namespace

std::optional<double> ReadMultimeter(InstrumentPort& port, EventPump& pump, Log& log, int limitMs) {
    const std::string meter = "the multimeter (COM" + std::to_string(port.Number) + ")";
    MultimeterReply reply({meter, limitMs, "", std::nullopt});
    if (!port.isOpen()) reply.refusal = "port not open";
    for (int query = 1; !reply.done(); ++query) {
        port.clear();
        reply = MultimeterReply(BeforeTheQuery(port, meter, limitMs));
        const bool askAgain = Ask(port, pump, reply, limitMs, query < MaxQueries);
        for (size_t i = 0; i < reply.passedOver.size(); ++i) {
            const bool last = i + 1 == reply.passedOver.size();
            log.LogStart();
            log.LogWrite(
                "Lettura Mult: " + reply.passedOver[i] + " and was passed over" +
                (askAgain && last ? "; the line then fell quiet and the meter was asked again" : ""));
        }
        if (!askAgain) break;
    }
    port.clear();
    if (!reply.done()) reply.refusal = "no whole line within " + std::to_string(limitMs) + " ms";
    if (reply.value) return reply.value;
    log.LogStart();
    log.LogWrite("Lettura Mult: no reading from " + meter + ": " + reply.refusal);
    return std::nullopt;
}

void SwitchSupply(InstrumentPort& port, EventPump& pump, bool on, const std::string& volts) {
    port.send(SupplyVoltsCommand(volts));
    pump.pausa(0.5);
    port.send(on ? SupplyOnCommand : SupplyOffCommand);
    pump.pausa(1);
}

double MilliUnits(double reading) {
    return reading * 1000;
}

void BenchInstruments::logFailure(const std::string& text) {
    log_.LogStart();
    log_.LogWrite(text);
}

bool BenchInstruments::waitForInput(InstrumentPort& port, std::string& reply, size_t count, int limitMs) {
    return pump_.waitUntil([&] { return reply += port.take(), reply.size() >= count; }, limitMs, false);
}

bool BenchInstruments::relayPortOpen() {
    InstrumentPort& port = ports_.Seriale_switch;
    if (port.open(ports_.Devices)) return true;
    logFailure("Relay unit port (COM" + std::to_string(port.Number) + ") not open: " + port.error());
    return false;
}

std::optional<double> BenchInstruments::GetMult() {
    const auto reading = ReadMultimeter(ports_.Seriale_mult, pump_, log_, limits.multReplyMs);
    if (!reading) return std::nullopt;
    return MilliUnits(*reading);
}

void BenchInstruments::Conf_Mult(const std::string& mode, const std::string& function) {
    ports_.Seriale_mult.send(MultSystemCommand(mode));
    pump_.pausa(0.5);
    if (mode != "REM") return;
    ports_.Seriale_mult.send(MultConfigureCommand(function));
    pump_.pausa(0.5);
}

void BenchInstruments::Beep() {
    ports_.Seriale_mult.send(MultBeepCommand);
}

bool BenchInstruments::PutCal200(CalibratorFrame& frame) {
    InstrumentPort& port = ports_.Seriale_calib;
    if (!port.isOpen()) {
        logFailure("Calibrator port not open");
        return false;
    }
    port.take();
    for (size_t i = 0; i < frame.size(); ++i) {
        port.send(std::string(1, static_cast<char>(frame[i])));
        std::string answer;
        if (!waitForInput(port, answer, 1, limits.calibByteMs)) {
            logFailure("No answer from the calibrator (COM" + std::to_string(port.Number) + ")");
            return false;
        }
        // One byte answers one byte: more is an instrument gone astray.
        if (answer.size() > 1) {
            port.clear();
            logFailure("Calibrator (COM" + std::to_string(port.Number) + ") answered " +
                       std::to_string(answer.size()) + " bytes to one: no reading");
            return false;
        }
        if (i >= 2 && i <= 5) frame[i] = static_cast<uint8_t>(answer[0]);
    }
    return true;
}

std::optional<double> BenchInstruments::GetTamb() {
    double temperature = 0;
    for (size_t f = 0; f < TambFrames.size(); ++f) {
        const auto& b = TambFrames[f];
        if (f == TambReadingFrame) pump_.pausa(1);
        CalibratorFrame frame = MakeCalibratorFrame(b[0], b[1], b[2], b[3], b[4]);
        if (!PutCal200(frame)) return std::nullopt;
        if (f == TambReadingFrame) temperature = TambFromAnswers(frame[2], frame[3], frame[4], frame[5]);
    }
    if (temperature < MinTamb || temperature > MaxTamb) {
        logFailure("Calibrator reference temperature " + DecimalText(temperature) + " outside " +
                   DecimalText(MinTamb) + ".." + DecimalText(MaxTamb) + ": no reading");
        return std::nullopt;
    }
    return temperature;
}

bool BenchInstruments::PutCalVal(double value) {
    if (!(value >= 0 && value < 4294967296.0)) return false; // the frame carries an unsigned 32-bit value
    CalibratorFrame frame = CalibratorValueFrame(static_cast<uint32_t>(value));
    return PutCal200(frame);
}

void BenchInstruments::ChiediCalibratore(int stepCode, double value) {
    dialogs_.messageBox(CalibratorPrompt(stepCode, value), MsgButtons::Ok);
}

void BenchInstruments::accendi_alim() {
    ports_.Seriale_alim.open(ports_.Devices);
    SetAlim(true, "24.00");
}

void BenchInstruments::spegni_alim() {
    ports_.Seriale_alim.open(ports_.Devices);
    SetAlim(false, "24.00");
}

void BenchInstruments::SetAlim(bool on, const std::string& volts) {
    SwitchSupply(ports_.Seriale_alim, pump_, on, volts);
}

double BenchInstruments::ReadAlimCurr() {
    InstrumentPort& port = ports_.Seriale_alim;
    port.send(SupplyCurrentCommand);
    pump_.pausa(0.5);
    std::string reply;
    waitForInput(port, reply, 8, limits.supplyReplyMs);
    port.clear();
    const auto amperes = ParseSupplyCurrent(reply);
    if (!amperes) {
        logFailure("Power supply (COM" + std::to_string(port.Number) + "): no current reading");
        return -1;
    }
    return *amperes * 1000;
}

bool BenchInstruments::Rele(int slot, int channel, bool close) {
    if (ports_.Seriale_switch.send(RelayCommand(slot, channel, close))) return true;
    logFailure("Relay " + std::to_string(slot) + "-" + std::to_string(channel) +
               " not switched: relay unit port (COM" + std::to_string(ports_.Seriale_switch.Number) +
               ") not open");
    return false;
}
