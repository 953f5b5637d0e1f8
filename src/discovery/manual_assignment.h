#pragma once
// "Search by MAC": gives a device known only by its MAC a temporary IP address through a static
// address-resolution entry on the chosen network's interface, then opens its set-up (gateway console on port
// 9999, or the controller's web page).
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "discovery/temporary_address.h"

struct AppContext;
class ProgramRunner;

enum class ManualDeviceType { None = -1, Gateway = 0, Controller = 1 };

struct ManualBoxes {
    std::array<std::string, 6> mac;                            // txt_mac, two hex digits each
    std::array<std::string, 4> ip{"000", "000", "000", "000"}; // txt_IP
    ManualDeviceType type = ManualDeviceType::None;            // Option1
};

struct ManualServices {
    ProgramRunner& runner;
    std::function<void(const std::string& host, uint16_t port)> probeTcp; // a connect attempt, not awaited
    std::function<void(const std::string& host, uint16_t port)> openTerminal;
    std::function<void(const std::string& url)> openUrl;
    MachineNetworking machine;
    std::string bindAddress; // "Network bind": the network the device is on
};

// "02:1A:2B:3C:4D:5E" from six groups of one or two hex digits; nullopt for anything else.
std::optional<std::string> canonicalMac(const std::array<std::string, 6>& groups);
// "10.0.0.7" from four decimal parts 0..255 ("000" and "010" read as decimal); nullopt otherwise.
std::optional<std::string> canonicalIpv4(const std::array<std::string, 4>& parts);

void cmd_Manual_Click(AppContext& ctx, const ManualBoxes& boxes, const ManualServices& services);
