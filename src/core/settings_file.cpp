#include "core/settings_file.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <limits>
#include <optional>
#include <sstream>
#include <vector>

#include "core/durable_file.h"
#include "core/file_read.h"
#include "core/model_catalogue.h"
#include "core/print_form.h"
#include "core/web_page.h"

namespace {

std::filesystem::path settingsPath(const std::string& folder) {
    return std::filesystem::path(folder) / std::string(SettingsFileName);
}

// Lines without their CR LF or LF; none when the file is missing. A file that is there and cannot be
// read leaves the defaults, and the log says why.
std::vector<std::string> readLines(const std::filesystem::path& path, Log& log) {
    std::vector<std::string> lines;
    std::string reason;
    const auto bytes = ReadUserFile(path.string(), &reason);
    if (!bytes) {
        if (std::error_code ec;
            std::filesystem::symlink_status(path, ec).type() != std::filesystem::file_type::not_found)
            log.LogWrite("The settings file was not read: " + path.string() + ": " + reason);
        return lines;
    }
    std::istringstream in(*bytes);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// A text item: leading and trailing blanks skipped, up to the end of the line or a comma.
std::string textItem(const std::string& line) {
    size_t begin = 0;
    while (begin < line.size() && isBlank(line[begin]))
        ++begin;
    size_t end = line.find(',', begin);
    if (end == std::string::npos) end = line.size();
    while (end > begin && isBlank(line[end - 1]))
        --end;
    return line.substr(begin, end - begin);
}

// A number item in print form (" 10 "); nothing when the item is no whole number in the target's range.
template <class T> std::optional<T> numberItem(const std::vector<std::string>& lines, size_t index) {
    if (index >= lines.size()) return std::nullopt;
    std::string text = textItem(lines[index]);
    if (!text.empty() && text[0] == '+') text.erase(0, 1);
    long long value = 0;
    auto [end, err] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || err != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    if (value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max()) return std::nullopt;
    return static_cast<T>(value);
}

template <class T> void readNumber(const std::vector<std::string>& lines, size_t index, T& target) {
    if (auto v = numberItem<T>(lines, index)) target = *v;
}

void readText(const std::vector<std::string>& lines, size_t index, std::string& target) {
    if (index < lines.size()) target = textItem(lines[index]);
}

// 0 gives false, any other number true; a flag that does not read is false.
int16_t readFlag(const std::vector<std::string>& lines, size_t index) {
    auto v = numberItem<long long>(lines, index);
    return v && *v != 0 ? int16_t{-1} : int16_t{0};
}

} // namespace

void LeggiSettings(ShellState& shell, DeviceRecord& device, const std::string& folder) {
    std::vector<std::string> lines = readLines(settingsPath(folder), shell.log);
    // Only languages that have texts; any other value would leave the windows without captions.
    if (auto language = numberItem<uint8_t>(lines, 0); language && *language <= 1) shell.Language = *language;
    if (lines.size() > 1)
        if (auto row = FindModelByCode(shell.Models, textItem(lines[1])))
            device.ModelIndex = static_cast<uint8_t>(*row);
    readNumber(lines, 2, device.Channel);
    readNumber(lines, 3, device.NodeAddress);
    // Anything else would be handed to the link as an address: the default stays.
    if (lines.size() > 4)
        if (std::string ip = textItem(lines[4]); isHostAddress(ip)) device.IpAddress = ip;
    readNumber(lines, 5, device.Port);
    readNumber(lines, 6, device.LinkTimeout);
    // A time-out too short for any connection to stand would leave the program unable to connect.
    device.LinkTimeout = std::max(device.LinkTimeout, MinLinkTimeout);
    readText(lines, 7, device.BaudRate);
    device.TwoStopBits = readFlag(lines, 8);
    device.ModemDialUp = readFlag(lines, 9);
    readText(lines, 10, device.SerialDevice);
    readText(lines, 11, shell.ModemNumber);
    if (device.ModelIndex > DefaultModelIndex) device.ModelIndex = 0;
}

bool SaveSettings(const ShellState& shell, const DeviceRecord& device, const std::string& folder,
                  std::string* reason) {
    const std::string& code =
        shell.Models[device.ModelIndex < ModelRows ? device.ModelIndex : DefaultModelIndex].ModelCode;
    const std::string items[] = {printForm(shell.Language),
                                 code,
                                 printForm(device.Channel),
                                 printForm(device.NodeAddress),
                                 device.IpAddress,
                                 printForm(device.Port),
                                 printForm(device.LinkTimeout),
                                 device.BaudRate,
                                 printForm(device.TwoStopBits != 0 ? 1 : 0),
                                 printForm(device.ModemDialUp != 0 ? 1 : 0),
                                 device.SerialDevice,
                                 shell.ModemNumber};
    std::string content;
    for (const auto& item : items)
        content += item + "\r\n";

    auto failed = SaveFileDurably(settingsPath(folder).string(), content);
    if (failed && reason) *reason = failed->path + ": " + failed->reason;
    return !failed;
}

bool SaveSettingsOrTell(ShellState& shell, const DeviceRecord& device, const std::string& folder,
                        UserDialogs& dialogs) {
    std::string reason = "no folder for the program's data";
    if (!folder.empty() && SaveSettings(shell, device, folder, &reason)) return true;
    const std::string text = "The settings could not be saved: " + reason;
    shell.log.LogStart();
    shell.log.LogWrite(text);
    dialogs.messageBox(text, MsgButtons::Ok, MsgIcon::Critical);
    return false;
}
