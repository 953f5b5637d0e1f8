#include "comm/transaction.h"

#include <algorithm>
#include <charconv>
#include <exception>
#include <optional>
#include <span>
#include <string>

#include "core/app_context.h"
#include "comm/byte_helpers.h"
#include "comm/link.h"
#include "comm/modbus_frame.h"
#include "comm/rtu_frame_finder.h"
#include "core/link_port.h"

namespace {

constexpr int ShortestRtuAnswer = RtuFrameFinder::ShortestFrame;
constexpr uint8_t BroadcastNode = 0;

// A failure inside the transaction: its description goes into the "MOD-RTU" box, the result is 1.
struct Failure {
    std::string description;
};

struct Outcome {
    uint8_t result = ComOk;
    std::optional<Failure> failure;
};

Outcome fail(std::string description) {
    return {ComTimeout, Failure{std::move(description)}};
}

Outcome linkLost(const LinkPort& link) {
    return fail("Link lost: " + link.error());
}

// The request as it was when the transaction started: a handler running during the wait may overwrite
// TxBuffer before its own (refused) call, and the answer is checked against what was sent. Only the first
// length bytes are ever read, so the rest is left unfilled.
struct Request {
    std::array<uint8_t, BufferSize> bytes;
    int length = 0;
    std::span<const uint8_t> span() const { return {bytes.data(), static_cast<size_t>(length)}; }
};

std::span<const uint8_t> asBytes(const std::string& s) {
    return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

void appendMonitor(CommState& comm) {
    if (!comm.MonitorOn) return;
    for (int i = 0; i < comm.RxLength; ++i)
        comm.MonitorRx += ByteToHex(comm.RxBuffer[static_cast<size_t>(i)]) + " ";
}

// Pulls the bytes a receive event announced into RxRaw.
bool pullArrived(CommState& comm, LinkPort& link) {
    if (!comm.DataArrived) return false;
    comm.DataArrived = 0;
    comm.RxRaw += link.readAll();
    return true;
}

// A frame from this address with this function ends the address's late-answer wait: the function of the
// request left unanswered, or its exception. Any other frame answers something else.
bool answersLateRequest(const CommState& comm, uint8_t address, uint8_t function) {
    const uint8_t asked = comm.LateAnswerFunction[address];
    return function == asked || function == (asked | 0x80);
}

// A late answer to an earlier request must not be taken for this one: it is dropped, and the request's
// log line counts it. Returns what had come since the last request ended.
std::string dropStaleInput(CommState& comm, LinkPort& link) {
    std::string stale = link.readAll();
    comm.DroppedInput += stale.size();
    if (!comm.LinkSettled) link.discardInput();
    comm.LinkSettled = 0;
    comm.RxRaw.clear();
    comm.DataArrived = 0;
    return stale;
}

// The line speed of the serial link; 0 when the text does not read (the timing then takes the slowest).
int lineSpeed(const DeviceRecord& device) {
    int baud = 0;
    const std::string& text = device.BaudRate;
    std::from_chars(text.data(), text.data() + text.size(), baud);
    return baud;
}

// An RTU request starts only once the line has been silent for the frame gap since the last byte received
// or sent; what arrives meanwhile is stale and dropped. After a failed exchange the silence is an answer's
// (the gap plus the adapters' margin), since the bytes of a late answer may still be on their way; after one
// that got nothing back, the silence counts from its end. A request to an address that left one unanswered
// also waits until that one's late answer may no longer come, or has come: a frame that checks and carries
// that address and the function of the request it answers (or its exception). Each such frame heard
// meanwhile ends its own address's wait; stray bytes, however many, end none. False when the line does not
// fall silent within the answer time-out after that, or has not been silent once in the answer time-out
// (a flood, in which no answer can be told), or the link went. The pump's clock times the silence to the
// microsecond, so the request goes out once the gap has passed, in one sleep on the link; a clock that
// stood still over a wait (a paused one) leaves it to the wait's own timing.
bool awaitQuietLine(AppContext& app, LinkPort& link, int baud, uint8_t node) {
    CommState& comm = app.comm;
    const int64_t gapUs = comm.LinkSettled ? RtuFrameGapUs(baud) : RtuSilenceMs(baud) * 1000;
    RtuFrameFinder lateAnswers;
    const auto hear = [&](const std::string& bytes) {
        const int64_t now = app.pump.nowUs();
        const auto awaited = [&](uint8_t address, uint8_t function) {
            return comm.LateAnswerUntilUs[address] > now && answersLateRequest(comm, address, function);
        };
        lateAnswers.feed(asBytes(bytes), awaited,
                         [&](uint8_t address) { comm.LateAnswerUntilUs[address] = 0; });
    };
    hear(dropStaleInput(comm, link));
    const int64_t& lateUntilUs = comm.LateAnswerUntilUs[node];
    const int64_t timeoutUs = int64_t{comm.AnswerTimeout} * 1000000;
    const int64_t startUs = app.pump.nowUs();
    const int64_t lastUs = std::max(startUs, lateUntilUs) + timeoutUs;
    bool silent = false; // the line has fallen silent at some time since the start
    for (;;) {
        const int64_t now = app.pump.nowUs();
        const int64_t quietUs = comm.LineActiveUs + gapUs;
        silent = silent || quietUs <= now;
        const int64_t left = std::max(quietUs, lateUntilUs) - now;
        if (left <= 0) return true;
        const int64_t giveUpUs = silent ? lastUs : startUs + timeoutUs;
        if (now >= giveUpUs || !link.isConnected()) return false;
        // Until the line has fallen silent once, the sleep ends when it would, so that it is seen.
        const int64_t sleepUs = std::min(silent ? left : quietUs - now, giveUpUs - now);
        const bool arrived = app.pump.waitOnLinkUs(
            [&] { return comm.DataArrived != 0 || !link.isConnected(); }, sleepUs, link);
        if (!arrived) {
            if (app.pump.closing()) return false; // the wait ended for a close
            if (app.pump.nowUs() == now) return true;
            continue; // the wait found the line silent up to its end
        }
        const std::string bytes = link.readAll();
        comm.DroppedInput += bytes.size();
        link.discardInput();
        comm.DataArrived = 0;
        hear(bytes);
    }
}

// RTU answer wait: complete once the predicted length has arrived with a good CRC. Where the length cannot
// be predicted, or all of it came and did not check, a silence of 3.5 characters (plus the adapters'
// margin) after the answer's last byte ends it, though never before the characters still missing to the
// shortest answer had time to arrive; the echo of the request starts no silence. AnswerTimeout ends it in
// any case, and so do more bytes than any answer can hold.
struct RtuWait {
    size_t taken = 0;     // the answer length to take (all of RxRaw past the echo when no prediction completed)
    size_t crcLength = 0; // the answer length whose CRC was computed (0: none), once per request
    Crc16 crc;
    bool overflow = false;
    bool whole = false; // the predicted length came with a good CRC
};

RtuWait waitRtuAnswer(AppContext& app, LinkPort& link, const Request& request, size_t echo, int baud) {
    CommState& comm = app.comm;
    const int64_t deadline = app.pump.nowMs() + int64_t{comm.AnswerTimeout} * 1000 + 1;
    int64_t lastArrival = 0;
    bool seen = false;
    RtuWait w;
    for (;;) {
        const int64_t now = app.pump.nowMs();
        if (pullArrived(comm, link) && comm.RxRaw.size() > echo) {
            seen = true;
            lastArrival = now;
        }
        const auto answer = asBytes(comm.RxRaw).subspan(std::min(echo, comm.RxRaw.size()));
        const int predicted = PredictRtuAnswerLength(request.span(), answer);
        if (predicted > 0 && answer.size() >= static_cast<size_t>(predicted)) {
            const auto frame = answer.first(static_cast<size_t>(predicted));
            if (w.crcLength != frame.size()) { // the bytes of a length once arrived do not change
                w.crc = Crc16Modbus(frame.first(frame.size() - 2));
                w.crcLength = frame.size();
            }
            if (w.crc.CrcLo == frame[frame.size() - 2] && w.crc.CrcHi == frame[frame.size() - 1]) {
                w.taken = frame.size();
                w.whole = true;
                return w;
            }
        }
        if (comm.RxRaw.size() > echo + BufferSize) {
            w.overflow = true;
            return w;
        }
        int64_t until = deadline;
        if (seen && (predicted <= 0 || answer.size() >= static_cast<size_t>(predicted))) {
            const int shortest = static_cast<int>(echo) + std::max<int>(ShortestRtuAnswer, predicted);
            until = std::min(until, RtuAnswerEndMs(baud, lastArrival, static_cast<int>(comm.RxRaw.size()),
                                                   shortest) + 1);
        }
        if (now >= until || !link.isConnected()) break;
        if (!app.pump.waitOnLink([&] { return comm.DataArrived != 0 || !link.isConnected(); },
                                 static_cast<int>(until - now), link) &&
            app.pump.closing())
            break;
    }
    w.taken = comm.RxRaw.size() > echo ? comm.RxRaw.size() - echo : 0;
    return w;
}

Outcome checkAddressAndFunction(AppContext& app, int16_t show, const Request& request, bool withBoxes) {
    CommState& comm = app.comm;
    const char* box = nullptr;
    if (comm.RxLength < 1 || comm.RxBuffer[0] != request.bytes[0])
        box = "Risposta Errata (indirizzo)";
    else if (comm.RxLength < 2 || comm.RxBuffer[1] != request.bytes[1])
        box = "Risposta Errata (funzione)";
    if (!box) return {};
    if (show && withBoxes) app.dialogs.messageBox(box);
    return {ComWrongAnswer, {}};
}

// Copies the answer bytes into RxBuffer; the waits bound them to its size.
void storeAnswer(CommState& comm, std::span<const uint8_t> answer) {
    std::copy(answer.begin(), answer.end(), comm.RxBuffer.begin());
    comm.RxLength = static_cast<int>(answer.size());
}

// The request's address has not answered it: it may still, for one more time-out (the one the request was
// sent with) after the answer was due, or after now if the exchange ended later. No device answers a
// broadcast, late or not.
void leftUnanswered(AppContext& app, const Request& request, int64_t answerDueUs, int64_t timeoutUs) {
    const uint8_t node = request.bytes[0];
    if (node == BroadcastNode) return;
    app.comm.LateAnswerUntilUs[node] = std::max(app.pump.nowUs(), answerDueUs) + timeoutUs;
    app.comm.LateAnswerFunction[node] = request.length > 1 ? request.bytes[1] : 0;
}

Outcome rtuExchange(AppContext& app, int16_t show, LinkPort& link, const Request& request) {
    CommState& comm = app.comm;
    if (comm.MonitorOn) comm.MonitorRx.clear();
    if (comm.TxLength < 0 || comm.TxLength + 2 > BufferSize) return fail("Request too long for the buffer");
    CalcolaCRC(comm, comm.TxBuffer, comm.TxLength);
    comm.TxBuffer[static_cast<size_t>(comm.TxLength)] = comm.CrcLo;
    comm.TxBuffer[static_cast<size_t>(comm.TxLength) + 1] = comm.CrcHi;
    comm.TxLength += 2;

    const int baud = lineSpeed(comm.CurrentDevice);
    if (!awaitQuietLine(app, link, baud, request.bytes[0])) {
        if (!link.isConnected()) return linkLost(link);
        return fail("The line did not fall silent for the request");
    }
    const std::string frame(comm.TxBuffer.begin(), comm.TxBuffer.begin() + comm.TxLength);
    if (!link.write(frame)) return fail(link.error());
    comm.LineActiveUs = app.pump.nowUs() + RtuCharactersUs(baud, comm.TxLength);
    if (comm.AnswerExpected != -1) return {};

    if (!comm.CurrentDevice.EchoRemove) comm.TxLength = 0;
    const size_t echo = static_cast<size_t>(comm.TxLength);
    const int64_t timeoutUs = int64_t{comm.AnswerTimeout} * 1000000;
    const int64_t answerDueUs = app.pump.nowUs() + timeoutUs;
    const RtuWait wait = waitRtuAnswer(app, link, request, echo, baud);
    // Until an answer that checks has come from the address, its answer may be yet to come, whatever else
    // came: nothing, stray bytes, a frame cut or garbled, another address's answer.
    leftUnanswered(app, request, answerDueUs, timeoutUs);
    // Nothing came back, or too little for any answer: the next request's silence counts from here.
    if (comm.RxRaw.size() < echo + ShortestRtuAnswer)
        comm.LineActiveUs = std::max(comm.LineActiveUs, app.pump.nowUs());
    const size_t taken = wait.taken;
    if (wait.overflow) {
        std::string().swap(comm.RxRaw); // give back what the flood took
        return fail("Answer too long for the buffer");
    }
    if (!wait.whole && app.pump.closing()) {
        comm.RxRaw.clear(); // part of an answer: no box about it while the program closes
        return {ComTimeout, {}};
    }
    if (!link.isConnected()) return linkLost(link);
    if (comm.RxRaw.empty()) return {ComTimeout, {}};
    if (comm.RxRaw.size() < echo) return fail("Echo longer than the received text");
    storeAnswer(comm, asBytes(comm.RxRaw).subspan(echo, taken));
    const bool whole = echo + taken == comm.RxRaw.size();
    comm.RxRaw.clear();
    appendMonitor(comm);

    // The CRC shows its own boxes; an answer shorter than its check bytes has none to compare. The wait
    // has computed it already when it checked the same length.
    bool crcOk = false;
    if (comm.RxLength >= 2 && wait.crcLength == taken) {
        comm.CrcLo = wait.crc.CrcLo;
        comm.CrcHi = wait.crc.CrcHi;
        crcOk = ConfrontaCRC(comm, app.dialogs);
    } else if (comm.RxLength >= 2) {
        crcOk = VerificaCRC(comm, app.dialogs, comm.RxBuffer, comm.RxLength - 2);
    }
    if (!crcOk) {
        if (show) app.dialogs.messageBox("CheckSum Rx Errato");
        return {ComTimeout, {}};
    }
    comm.LinkSettled = whole ? -1 : 0;
    // An answer that checks, with the function its sender was last asked (or its exception), is the answer
    // that address left unanswered; one from another address, or with another function, leaves it to come.
    if (comm.RxLength >= ShortestRtuAnswer && answersLateRequest(comm, comm.RxBuffer[0], comm.RxBuffer[1]))
        comm.LateAnswerUntilUs[comm.RxBuffer[0]] = 0;
    return checkAddressAndFunction(app, show, request, true);
}

// The answer is the request's own: its unit, with its function or that function's exception.
bool ownAnswer(const CommState& comm, const Request& request) {
    return comm.RxLength >= 2 && comm.RxBuffer[0] == request.bytes[0] &&
           (comm.RxBuffer[1] & 0x7F) == request.bytes[1];
}

Outcome tcpExchange(AppContext& app, int16_t show, LinkPort& link, const Request& request) {
    CommState& comm = app.comm;
    if (comm.MonitorOn) comm.MonitorRx.clear();
    if (request.length > MaxTcpRequest) return fail("TCP request over 255 bytes");
    dropStaleInput(comm, link);
    // A device that numbers every answer 0 gives nothing to tell an earlier request's late answer from this
    // one's: once an answer may still come, the request goes on a new connection, where none of the old can.
    if (comm.FixedTransactionId && comm.TcpAnswerPending && link.isConnected()) {
        const std::string lost = ReconnectTcp(app);
        if (!lost.empty()) return fail("Link lost: " + lost);
    }
    // Not connected: nothing goes out and no answer can come.
    if (!link.isConnected()) return {ComTimeout, {}};

    // Each request carries its own transaction identifier, so that a late answer to an earlier one is
    // told apart and dropped; a device that answers everything with 0 gets 0 throughout.
    uint16_t id = 0;
    if (!comm.FixedTransactionId) {
        id = ++comm.TransactionId;
        if (id == 0) id = comm.TransactionId = 1;
    }
    std::string frame{static_cast<char>(id >> 8), static_cast<char>(id & 0xFF), '\0', '\0', '\0',
                      static_cast<char>(request.length)};
    frame.append(request.bytes.begin(), request.bytes.begin() + request.length);
    if (!link.write(frame)) return fail(link.error());
    // Until its own answer is taken whole, this request's answer may come late.
    const bool earlierPending = comm.TcpAnswerPending != 0;
    comm.TcpAnswerPending = -1;
    if (comm.AnswerExpected != -1) return {};

    // The wait's test runs on every wake-up: one reference to its state keeps it free of allocations.
    struct {
        CommState& comm;
        LinkPort& link;
        const Request& request;
        uint16_t id;
        bool earlierPending;
        bool zeroId = false;         // an answer fitting the request came with identifier 0
        bool zeroIdNotTaken = false; // ... while an earlier request's answer may still come: not taken
        MbapCheck check = {};
        bool operator()() {
            pullArrived(comm, link);
            for (;;) {
                check = CheckMbapAnswer(asBytes(comm.RxRaw), BufferSize, id);
                if (check.state != MbapState::Foreign) break;
                if (id != 0 && IsZeroIdAnswer(asBytes(comm.RxRaw), check.pduLength, request.span())) {
                    // Our answer, from a device that does not echo the identifier, unless an earlier
                    // request's answer may still come: that one would look the same.
                    zeroId = true;
                    if (earlierPending) {
                        zeroIdNotTaken = true;
                        return true;
                    }
                    id = 0;
                    continue;
                }
                comm.RxRaw.erase(0, static_cast<size_t>(MbapHeaderSize + check.pduLength));
            }
            return check.state != MbapState::Incomplete || !link.isConnected();
        }
    } assembled{comm, link, request, id, earlierPending};
    // The wait ends with a last test, so the check describes what has arrived.
    app.pump.waitOnLink([&assembled] { return assembled(); }, comm.CurrentDevice.LinkTimeout, link);
    if (assembled.zeroId) {
        comm.FixedTransactionId = -1;
        app.shell.log.LogStart();
        app.shell.log.LogWrite("The device answers with transaction id 0: all requests of this link carry 0");
    }
    if (assembled.zeroIdNotTaken) {
        app.shell.log.LogStart();
        app.shell.log.LogWrite("An answer with transaction id 0 may be an earlier request's: not taken");
        return {ComTimeout, {}};
    }
    const MbapCheck& check = assembled.check;
    if (check.state == MbapState::Malformed) return fail("Malformed Modbus TCP answer");
    if (check.state == MbapState::Incomplete) {
        if (!link.isConnected()) return linkLost(link);
        return {ComTimeout, {}};
    }
    const size_t frameLength = static_cast<size_t>(MbapHeaderSize + check.pduLength);
    storeAnswer(comm, asBytes(comm.RxRaw).subspan(MbapHeaderSize, static_cast<size_t>(check.pduLength)));
    // What came after the answer is dropped, and so is the rest of it still on its way: no answer to a
    // request not yet sent can be among it, and kept, it could pass for the next request's (a second copy of
    // this answer from a device that numbers everything 0, say).
    comm.LinkSettled = comm.RxRaw.size() == frameLength ? -1 : 0;
    comm.RxRaw.clear();
    appendMonitor(comm);
    if (comm.LinkSettled && ownAnswer(comm, request)) comm.TcpAnswerPending = 0;
    return checkAddressAndFunction(app, show, request, false);
}

Outcome exchange(AppContext& app, int16_t show) {
    CommState& comm = app.comm;
    if (!comm.CurrentDevice.Connected) return {ComNotConnected, {}};
    app.shell.status.set(4, "");
    if (!app.link) return fail("No link");
    if (comm.TxLength < 0 || comm.TxLength > BufferSize) return fail("Request too long for the buffer");
    Request request;
    request.length = comm.TxLength;
    std::copy_n(comm.TxBuffer.begin(), request.length, request.bytes.begin());
    switch (comm.LinkMode) {
    case 1:
        return rtuExchange(app, show, *app.link, request);
    case 2:
        return tcpExchange(app, show, *app.link, request);
    default:
        return fail("Link mode not supported");
    }
}

void logClosing(AppContext& app, const std::string& what) {
    app.shell.log.LogStart();
    app.shell.log.LogWrite(what + ": the program is closing");
}

uint8_t report(AppContext& app, int16_t show, const Outcome& outcome) {
    CommState& comm = app.comm;
    ShellState& shell = app.shell;
    if (outcome.failure && show)
        app.dialogs.messageBox(outcome.failure->description, MsgButtons::Ok, MsgIcon::Critical, "MOD-RTU");
    if (outcome.result == ComTimeout || outcome.result == ComWrongAnswer) comm.PollStop = 1;
    switch (outcome.result) {
    case ComOk:
        // An answer that came just before the link went says nothing about the link now.
        shell.status.set(4, comm.CurrentDevice.Connected ? "Com OK" : "");
        break;
    case ComTimeout:
        shell.status.set(4, "Com TimeOut");
        shell.log.LogStart();
        shell.log.LogWrite("Com Timeout");
        break;
    default:
        if (outcome.result == ComNotConnected && show)
            app.dialogs.messageBox("Controller not connected", MsgButtons::Ok, MsgIcon::Warning);
        shell.status.set(4, "Com Error");
        shell.log.LogStart();
        shell.log.LogWrite("Com Error");
        break;
    }
    return outcome.result;
}

} // namespace

uint8_t TrasmettiRicevi(AppContext& app, int16_t showMessages) {
    CommState& comm = app.comm;
    // While the program closes (a close ended a request's wait and waits to be carried out until the
    // request has returned, or the main window has closed), nothing more goes out: what runs ends without
    // waiting again.
    if (app.pump.closing()) {
        logClosing(app, "Request not sent");
        return report(app, showMessages, {ComTimeout, {}});
    }
    if (comm.TransactionBusy) {
        // The buffers belong to the transaction that waits: refuse without touching them.
        app.shell.log.LogStart();
        app.shell.log.LogWrite("Request refused: another request is waiting for its answer");
        return report(app, showMessages, fail("Another request is waiting for its answer"));
    }
    comm.TransactionBusy = -1;
    Outcome outcome;
    try {
        outcome = exchange(app, showMessages);
    } catch (const std::exception& e) {
        outcome = fail(e.what());
    }
    comm.TransactionBusy = 0;
    LogDroppedInput(app);
    if (outcome.result == ComTimeout && app.pump.closing()) {
        outcome.failure.reset(); // the reason is the close, not the device
        logClosing(app, "Request ended without its answer");
    }
    return report(app, showMessages, outcome);
}
