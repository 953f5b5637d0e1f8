#include "discovery/sniffer.h"

#include <algorithm>

#include "comm/byte_helpers.h"
#include "core/app_context.h"
#include "platform/datagram_socket.h"

std::string snifferDumpLine(const std::string& dateTime, std::string_view datagram) {
    std::string line = dateTime + " ";
    for (size_t i = 0; i < datagram.size() && i < DumpBytes; ++i) {
        line += ByteToHex(static_cast<uint8_t>(datagram[i]));
        if (i == 0) line += ' ';
    }
    if (datagram.size() > DumpBytes) line += " ... (" + std::to_string(datagram.size()) + " bytes)";
    return line;
}

Sniffer::Sniffer(AppContext& app, DatagramSocket& socket, std::function<std::string()> now,
                 uint16_t devicePort)
    : app_(app), socket_(socket), now_(std::move(now)), devicePort_(devicePort) {
    socket_.onDatagram = [this](const std::string& payload, const std::string&) {
        if (List1.size() == MostLines) List1.pop_front();
        List1.push_back(snifferDumpLine(now_(), payload));
        if (onAdded) onAdded(List1.back());
    };
}

Sniffer::~Sniffer() {
    socket_.onDatagram = nullptr;
}

bool Sniffer::send(const char* command, const std::string& address) {
    // The socket takes a free local port at its first send and keeps it, so the device's copies come back.
    if (socket_.sendTo(command, address, devicePort_)) return true;
    app_.shell.log.LogWrite("Sniffer: " + std::string(command) + " not sent to " + address + ": " +
                            socket_.error());
    return false;
}

void Sniffer::clear() {
    List1.clear();
    if (onCleared) onCleared();
}

void Sniffer::Command5_Click() {
    clear();
    if (send("0003", IP_SNIFF) && std::find(sending_.begin(), sending_.end(), IP_SNIFF) == sending_.end())
        sending_.push_back(IP_SNIFF);
}

void Sniffer::Command3_Click() {
    if (send("0004", IP_SNIFF)) std::erase(sending_, IP_SNIFF);
}

void Sniffer::Form_Unload() {
    for (const std::string& address : sending_)
        send("0004", address);
    sending_.clear();
    socket_.close();
}
