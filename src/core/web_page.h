#pragma once
// The "view_http" key: the current device's web page, only for a well-formed IPv4 address.
#include <optional>
#include <string>

bool isValidIpAddress(const std::string& text);
// An IPv4 address or a host name: what a link address may be.
bool isHostAddress(const std::string& text);
std::optional<std::string> webPageUrl(const std::string& ipAddress);
