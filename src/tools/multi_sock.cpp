#include "tools/multi_sock.h"

#include <charconv>
#include <sstream>

#include "core/app_context.h"
#include "comm/device_procedures.h"
#include "comm/link.h"
#include "comm/model_check.h"
#include "core/link_port.h"
#include "tools/tool_guard.h"

namespace {

constexpr int StatusPanel = 4; // the transactions' "Com OK" panel belongs to the current device

struct RunStateName {
    uint8_t code;
    const char* text;
};
constexpr RunStateName RunStates[] = {
    {CmdRun, "Run"}, {CmdRunToBreak, "Run to break"}, {CmdHalt, "Halt"}, {CmdStop, "Stop"}};

// Any other code is a controller that does not run, as the status bar shows it.
std::string runStateText(uint8_t code) {
    for (const auto& r : RunStates)
        if (r.code == code) return r.text;
    return "Stop";
}

std::optional<long> number(const std::string& text, long lo, long hi) {
    long v = 0;
    const char* end = text.data() + text.size();
    auto r = std::from_chars(text.data(), end, v);
    if (text.empty() || r.ec != std::errc() || r.ptr != end || v < lo || v > hi) return std::nullopt;
    return v;
}

bool dottedQuad(const std::string& ip) {
    std::istringstream in(ip);
    int parts = 0;
    for (std::string part; std::getline(in, part, '.'); ++parts)
        if (part.size() > 3 || !number(part, 0, 255)) return false;
    return parts == 4 && ip.back() != '.';
}

// The program's dialogs while the scan goes on; a request that stop() cut off shows no box.
class ScanDialogs : public UserDialogs {
  public:
    ScanDialogs(UserDialogs& to, const bool& stopped) : to_(to), stopped_(stopped) {}
    MsgChoice messageBox(const std::string& text, MsgButtons buttons, MsgIcon icon,
                         const std::string& title) override {
        return stopped_ ? MsgChoice::Ok : to_.messageBox(text, buttons, icon, title);
    }
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& initial) override {
        return to_.inputBox(prompt, title, initial);
    }
    std::string openFile(const std::string& filter, const std::string& title) override {
        return to_.openFile(filter, title);
    }
    std::string saveFile(const std::string& filter, const std::string& title) override {
        return to_.saveFile(filter, title);
    }

  private:
    UserDialogs& to_;
    const bool& stopped_;
};

} // namespace

MultiSock::MultiSock(AppContext& ctx, LinkPort& link)
    : ctx_(ctx), link_(link), dialogs_(std::make_unique<ScanDialogs>(ctx.dialogs, stop_)) {
    CommState* comm = comm_.get();
    link_.onBytesReceived = [comm] { comm->DataArrived = 1; };
    link_.onLinkLost = [comm](const std::string&) { comm->CurrentDevice.Connected = 0; };
}

MultiSock::~MultiSock() {
    link_.close();
    link_.onBytesReceived = nullptr;
    link_.onLinkLost = nullptr;
}

bool MultiSock::add(const std::string& ip, const std::string& port, const std::string& node) {
    auto p = number(port, 1, 65535);
    auto n = number(node, 0, 255);
    if (!dottedQuad(ip) || !p || !n) {
        ctx_.dialogs.messageBox("Address: four numbers 0-255 as 127.0.0.1; port 1-65535; node 0-255",
                                MsgButtons::Ok, MsgIcon::Warning);
        return false;
    }
    Devices.push_back({ip, uint16_t(*p), uint8_t(*n), {}, {}, {}});
    changed();
    return true;
}

void MultiSock::stop() {
    stop_ = true;
    link_.close();
}

void MultiSock::remove(int row) {
    if (running_ || row < 0 || row >= int(Devices.size())) return;
    Devices.erase(Devices.begin() + row);
    changed();
}

void MultiSock::scan() {
    if (running_ || !ToolMayStart(ctx_)) return;
    running_ = true;
    stop_ = false;
    const int16_t outerBusy = ctx_.comm.PollBusy;
    ctx_.comm.PollBusy = 1;
    const std::string panel = ctx_.shell.status.Text[StatusPanel];
    for (auto& d : Devices)
        d.Model = d.RunState = d.Result = {};
    changed();
    // Rows are not removed while the scan runs; rows added meanwhile are scanned too.
    for (size_t i = 0; i < Devices.size() && !stop_; ++i) {
        scanOne(Devices[i]);
        changed();
        ctx_.pump.processEvents();
    }
    ctx_.shell.status.set(StatusPanel, panel);
    ctx_.comm.PollBusy = outerBusy;
    running_ = false;
    changed();
}

bool MultiSock::connect(const Device& d) {
    CommState& comm = *comm_;
    comm.CurrentDevice.Channel = 0;
    comm.CurrentDevice.IpAddress = d.IpAddress;
    comm.CurrentDevice.Port = int16_t(d.Port);
    comm.CurrentDevice.NodeAddress = d.Node;
    comm.CurrentDevice.LinkTimeout = ctx_.comm.CurrentDevice.LinkTimeout;
    comm.AnswerTimeout = ctx_.comm.AnswerTimeout;
    comm.LinkMode = 2;
    ForgetLinkAnswers(comm);
    link_.connectTcp(d.IpAddress, d.Port);
    const bool up = ctx_.pump.waitUntil([&] { return link_.isConnected() || link_.failed() || stop_; },
                                        comm.CurrentDevice.LinkTimeout, false) &&
                    link_.isConnected();
    comm.CurrentDevice.Connected = up ? -1 : 0;
    return up;
}

void MultiSock::scanOne(Device& d) {
    if (!connect(d)) {
        link_.close();
        d.Result = stop_ ? "Stopped" : "No connection";
        return;
    }
    AppContext device{ctx_.shell, *comm_, ctx_.project, ctx_.pump, *dialogs_, &link_};
    comm_->PollStop = 0; // a failed request sets it
    uint8_t model = ctx_.comm.CurrentDevice.ModelIndex;
    IdentificaModello(device, model);
    const uint8_t state = comm_->PollStop == 0 ? AttendiStato(device) : 0;
    if (comm_->PollStop == 0) {
        d.Model = ctx_.shell.Models[model < ModelRows ? model : DefaultModelIndex].ModelName;
        d.RunState = runStateText(state);
        d.Result = "OK";
    } else {
        d.Result = stop_ ? "Stopped" : comm_->CurrentDevice.Connected ? "No answer" : "Link lost";
    }
    link_.close();
}

void MultiSock::changed() const {
    if (onChanged) onChanged();
}
