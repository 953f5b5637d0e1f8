#include "platform/qt_local_addresses.h"

#include <QNetworkInterface>

std::vector<std::string> QtLocalAddresses::ipv4() const {
    std::vector<std::string> out;
    for (const QNetworkInterface& i : QNetworkInterface::allInterfaces()) {
        const auto flags = i.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::IsRunning) ||
            flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& e : i.addressEntries())
            if (e.ip().protocol() == QAbstractSocket::IPv4Protocol) out.push_back(e.ip().toString().toStdString());
    }
    return out;
}
