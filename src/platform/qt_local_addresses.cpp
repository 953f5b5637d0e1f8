#include "platform/qt_local_addresses.h"

#include <fstream>
#include <iterator>
#include <QNetworkInterface>

#include "platform/proc_net_tables.h"

namespace {

std::array<uint8_t, 4> bytesOf(const QHostAddress& a) {
    const quint32 v = a.toIPv4Address();
    return {static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8),
            static_cast<uint8_t>(v)};
}

// A table of the kernel's; empty when it cannot be read.
std::string kernelTable(const char* path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

std::vector<std::string> QtLocalAddresses::ipv4() const {
    std::vector<std::string> out;
    for (const QNetworkInterface& i : QNetworkInterface::allInterfaces()) {
        const auto flags = i.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::IsRunning) ||
            flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& e : i.addressEntries())
            if (e.ip().protocol() == QAbstractSocket::IPv4Protocol)
                out.push_back(e.ip().toString().toStdString());
    }
    return out;
}

std::vector<LocalNetwork> QtLocalAddresses::networks() const {
    std::vector<LocalNetwork> out;
    for (const QNetworkInterface& i : QNetworkInterface::allInterfaces()) {
        const auto flags = i.flags();
        for (const QNetworkAddressEntry& e : i.addressEntries()) {
            if (e.ip().protocol() != QAbstractSocket::IPv4Protocol) continue;
            out.push_back(
                {i.name().toStdString(), bytesOf(e.ip()), bytesOf(e.netmask()),
                 flags.testFlag(QNetworkInterface::IsUp) && flags.testFlag(QNetworkInterface::IsRunning),
                 flags.testFlag(QNetworkInterface::IsLoopBack)});
        }
    }
    return out;
}

std::vector<std::array<uint8_t, 4>> QtLocalAddresses::gateways() const {
    return RouteGateways(kernelTable("/proc/net/route"));
}

std::vector<LocalNeighbour> QtLocalAddresses::neighbours() const {
    return CompleteNeighbours(kernelTable("/proc/net/arp"));
}
