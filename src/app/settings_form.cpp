#include "app/settings_form.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>

#include "core/app_context.h"
#include "core/build_flags.h"
#include "core/busy_run.h"
#include "core/button_groups.h"
#include "core/web_page.h"
#include "app/connect_sequence.h"
#include "app/shell_procedures.h"

namespace {

constexpr std::array<int, 5> FirstRows{5, 6, 17, 9, 37};
constexpr std::array<int, 2> MiddleRows{13, 11};
constexpr std::array<int, 12> LastRows{12, 39, 40, 41, 42, 43, 44, 45, 47, 34, 38, 36};
constexpr int InternalRow = 35;
constexpr const char* Separator = "-------------";

constexpr int ModbusTcpPort = 502;

// A whole number in range, blanks around it allowed; nothing for anything else.
template <class T> std::optional<T> parseNumber(std::string_view text, long min, long max) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    long v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || v < min || v > max)
        return std::nullopt;
    return static_cast<T>(v);
}

// The animate time as the slider shows it, in whole seconds.
int animateSeconds(int16_t milliseconds) {
    return static_cast<int>(std::lround(milliseconds / 1000.0));
}

std::string rangeText(long min, long max) {
    return std::to_string(min) + " to " + std::to_string(max);
}

} // namespace

std::vector<ModelListEntry> settingsModelList(const ShellState& shell) {
    std::vector<ModelListEntry> list;
    auto add = [&](int row) { list.push_back({shell.Models[static_cast<size_t>(row)].ModelName, row}); };
    for (int row : FirstRows)
        add(row);
    if (BuildBrand1 || BuildBrand2 || shell.Flags.Internal) {
        list.push_back({Separator, -1});
        for (int row : MiddleRows)
            add(row);
        list.push_back({Separator, -1});
    }
    for (int row : LastRows)
        add(row);
    if (shell.Flags.Internal) add(InternalRow);
    return list;
}

SettingsForm loadSettingsForm(const AppContext& ctx) {
    const DeviceRecord& d = ctx.comm.CurrentDevice;
    SettingsForm f;
    f.Channel = d.Channel != 0 ? 1 : 0;
    f.IpAddress = d.IpAddress;
    if (f.Channel == 1) {
        f.ComIndex = d.Port >= 1 && d.Port <= ComPortCount ? d.Port - 1 : 0;
        f.PortText = std::to_string(ModbusTcpPort); // what switching to Ethernet offers
    } else {
        f.PortText = std::to_string(static_cast<uint16_t>(d.Port));
    }
    f.SerialDevice = d.SerialDevice;
    f.BaudRate = d.BaudRate;
    f.TwoStopBits = d.TwoStopBits != 0;
    f.EchoRemove = d.EchoRemove != 0;
    // Filled from the settings so that OK stores what was there, not an empty box.
    f.TimeoutTcpText = std::to_string(d.LinkTimeout);
    f.ModemDialUp = d.ModemDialUp != 0;
    f.ModemNumber = ctx.shell.ModemNumber;
    f.NodeText = std::to_string(d.NodeAddress);
    f.ModelRow = d.ModelIndex;
    f.AnimateTime = ctx.shell.AnimateTime;
    f.AnimateSeconds = animateSeconds(f.AnimateTime);
    f.RegUpdate = ctx.shell.RegUpdate != 0;
    return f;
}

std::string serialChoiceText(const SettingsForm& f) {
    return f.SerialDevice.empty() ? "COM" + std::to_string(f.ComIndex + 1) : f.SerialDevice;
}

void setSerialChoice(SettingsForm& f, const std::string& text) {
    std::string_view t = text;
    while (!t.empty() && t.back() == ' ')
        t.remove_suffix(1);
    while (!t.empty() && t.front() == ' ')
        t.remove_prefix(1);
    if (t.starts_with("COM")) {
        if (auto n = parseNumber<int>(t.substr(3), 1, ComPortCount)) {
            f.ComIndex = *n - 1;
            f.SerialDevice.clear();
            return;
        }
    }
    if (!t.empty()) f.SerialDevice = std::string(t); // the port number stays for older readers of the file
}

std::optional<SettingsRefusal> refuseSettings(const SettingsForm& f) {
    struct Number {
        SettingsRefusal::Field field;
        const char* name;
        const std::string& text;
        long min, max;
    };
    std::vector<Number> numbers{{SettingsRefusal::Node, "Node ID", f.NodeText, 0, 255}};
    if (f.Channel == 0) {
        // A dotted row of numbers that is no IPv4 address would otherwise be looked up as a host name.
        if (!isHostAddress(f.IpAddress))
            return SettingsRefusal{SettingsRefusal::IpAddress,
                                   "IP Address: \"" + f.IpAddress +
                                       "\" is no IPv4 address (four numbers from 0 "
                                       "to 255) and no host name"};
        numbers.push_back({SettingsRefusal::Port, "Port", f.PortText, 1, UINT16_MAX});
        numbers.push_back(
            {SettingsRefusal::Timeout, "Timeout (mSec)", f.TimeoutTcpText, MinLinkTimeout, INT16_MAX});
    }
    for (const Number& n : numbers)
        if (!parseNumber<long>(n.text, n.min, n.max))
            return SettingsRefusal{n.field, std::string(n.name) + ": \"" + n.text +
                                                "\" is not a whole number from " + rangeText(n.min, n.max)};
    return std::nullopt;
}

bool applySettings(AppContext& ctx, const ShellProcedures& procs, const SettingsForm& f) {
    if (refuseSettings(f)) return false;
    DeviceRecord& d = ctx.comm.CurrentDevice;
    if (f.Channel == 0) {
        d.Channel = 0;
        d.IpAddress = f.IpAddress;
        // The 16-bit field holds TCP ports above 32767 as negative numbers.
        d.Port = static_cast<int16_t>(*parseNumber<uint16_t>(f.PortText, 1, UINT16_MAX));
        d.LinkTimeout = *parseNumber<int16_t>(f.TimeoutTcpText, MinLinkTimeout, INT16_MAX);
        ctx.comm.AnswerTimeout = AnswerTimeoutFor(d.LinkTimeout);
    } else {
        d.Channel = 1;
        d.Port = static_cast<int16_t>(f.ComIndex + 1);
        d.SerialDevice = f.SerialDevice;
        d.BaudRate = f.BaudRate;
        d.TwoStopBits = f.TwoStopBits ? -1 : 0;
        d.ModemDialUp = f.ModemDialUp ? -1 : 0;
        ctx.shell.ModemNumber = f.ModemNumber;
        d.EchoRemove = f.EchoRemove ? -1 : 0;
    }
    d.NodeAddress = *parseNumber<uint8_t>(f.NodeText, 0, 255);
    // The slider shows whole seconds: an animate time it cannot show stays while the slider is not moved.
    ctx.shell.AnimateTime = f.AnimateSeconds == animateSeconds(f.AnimateTime)
                                ? f.AnimateTime
                                : static_cast<int16_t>(f.AnimateSeconds * 1000);
    ctx.shell.RegUpdate = f.RegUpdate ? -1 : 0;
    if (f.ModelRow >= 0 && f.ModelRow <= DefaultModelIndex) d.ModelIndex = static_cast<uint8_t>(f.ModelRow);

    callIf(procs.SaveSettings);

    // A running polling loop keeps the link open (Disconnetti refuses while it runs): stop it first. The
    // loop waits between its passes further down this call stack and ends when this handler returns,
    // so there is nothing to wait for here.
    ctx.comm.PollStop = 1;

    const BusyRun run(ctx, ConnectRun);
    callIf(procs.Disconnetti);
    callIf(procs.Connetti);
    if (d.Connected) {
        checkModel(ctx, procs);
        if (isControllerModel(ctx) && procs.LeggiStatoPLC) TakeModeRead(ctx, procs.LeggiStatoPLC() != 0);
    }
    callIf(procs.MappaRegistri, false);
    return true;
}
