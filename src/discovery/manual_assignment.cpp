#include "discovery/manual_assignment.h"

#include <cctype>
#include <charconv>

#include "core/app_context.h"
#include "discovery/search_protocol.h"
#include "platform/program_runner.h"

namespace {

constexpr int ToolTimeoutMs = 5000;

std::optional<unsigned> number(const std::string& text, int base, size_t maxDigits) {
    unsigned value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || text.size() > maxDigits || ec != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string joined(const std::vector<std::string>& words) {
    std::string s;
    for (const std::string& w : words)
        s += (s.empty() ? "" : " ") + w;
    return s;
}

// The static address entry; false (after saying why) when it could not be made. An address that would
// touch the machine's own networking is refused before any program runs.
bool addStaticEntry(AppContext& ctx, const ManualServices& services, const std::string& ip,
                    const std::string& mac) {
    const TemporaryAddressChoice choice =
        ChooseTemporaryAddress(*ParseIpv4(ip), mac, services.bindAddress, services.machine);
    if (!choice.refusal.empty()) {
        ctx.dialogs.messageBox(choice.refusal, MsgButtons::Ok, MsgIcon::Critical);
        return false;
    }
    std::vector<std::string> args{"neigh", "replace",  ip, "lladdr", mac, "dev", choice.interfaceName,
                                  "nud",   "permanent"};
    ProgramRun r = services.runner.run("ip", args, ToolTimeoutMs);
    if (!r.started) {
        ctx.shell.log.LogWrite("Could not start the program \"ip\" (package iproute2)");
        return false;
    }
    if (r.exitCode != 0) {
        ctx.dialogs.messageBox(
            "The static address entry needs the network-admin capability (CAP_NET_ADMIN).\n"
            "Run as administrator:\n  sudo ip " +
                joined(args) + "\n\n" + r.output,
            MsgButtons::Ok, MsgIcon::Critical);
        return false;
    }
    return true;
}

} // namespace

std::optional<std::string> canonicalMac(const std::array<std::string, 6>& groups) {
    constexpr char Hex[] = "0123456789ABCDEF";
    std::string mac;
    for (const std::string& g : groups) {
        std::optional<unsigned> v = number(g, 16, 2);
        if (!v) return std::nullopt;
        if (!mac.empty()) mac += ':';
        mac += Hex[*v >> 4];
        mac += Hex[*v & 15];
    }
    return mac;
}

std::optional<std::string> canonicalIpv4(const std::array<std::string, 4>& parts) {
    std::string ip;
    for (const std::string& p : parts) {
        std::optional<unsigned> v = number(p, 10, 3);
        if (!v || *v > 255) return std::nullopt;
        ip += (ip.empty() ? "" : ".") + std::to_string(*v);
    }
    return ip;
}

void cmd_Manual_Click(AppContext& ctx, const ManualBoxes& boxes, const ManualServices& services) {
    std::optional<std::string> mac = canonicalMac(boxes.mac);
    std::optional<std::string> ip = canonicalIpv4(boxes.ip);
    if (!mac || !ip) {
        ctx.dialogs.messageBox(!mac ? "MAC Address: six bytes of two hexadecimal digits each."
                                    : "Temporary IP Address: four numbers from 0 to 255.",
                               MsgButtons::Ok, MsgIcon::Critical);
        return;
    }
    if (!addStaticEntry(ctx, services, *ip, *mac)) return;
    if (boxes.type == ManualDeviceType::Gateway) {
        // The attempt on port 1 makes the system send the device a first packet through the entry.
        ctx.pump.pausa(1);
        services.probeTcp(*ip, 1);
        ctx.pump.pausa(1);
        services.openTerminal(*ip, 9999);
    } else if (boxes.type == ManualDeviceType::Controller) {
        if (!services.runner.exists("ping") || !services.runner.startDetached("ping", {"-c", "4", *ip}))
            ctx.shell.log.LogWrite("ping is not available: " + *ip + " was not pinged");
        ctx.pump.pausa(1);
        services.openUrl("http://" + *ip);
    }
}
