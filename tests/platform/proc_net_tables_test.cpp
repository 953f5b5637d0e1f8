// The kernel's route and neighbour tables as the gateway and neighbour checks read them: the gateways of
// /proc/net/route (hexadecimal, in the machine's byte order), the complete entries of /proc/net/arp, and
// lines that are malformed, blank or very long passed over without losing the good ones around them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <string>
#include <vector>

#include "platform/proc_net_tables.h"

namespace {

using Address = std::array<uint8_t, 4>;

const std::string RouteHeader =
    "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
const std::string ArpHeader =
    "IP address       HW type     Flags       HW address            Mask     Device\n";
const std::string LongLine = std::string(70000, 'x') + "\n";

// A gateway as /proc/net/route prints it on a little-endian machine, in this machine's byte order.
Address onThisMachine(Address littleEndianPrint) {
    if constexpr (std::endian::native == std::endian::big)
        std::reverse(littleEndianPrint.begin(), littleEndianPrint.end());
    return littleEndianPrint;
}

std::string route(const std::string& gateway, const std::string& iface = "eth0") {
    return iface + "\t00000000\t" + gateway + "\t0003\t0\t0\t0\t00000000\t0\t0\t0   \n";
}

struct RouteCase {
    const char* what;
    std::string table;
    std::vector<Address> gateways;
};

TEST(ProcNetTables, RouteGatewaysAreReadInTheMachinesByteOrderAndBadLinesPassedOver) {
    const RouteCase cases[] = {
        {"empty", "", {}},
        {"a default route through 10.0.0.1", RouteHeader + route("0100000A"), {{10, 0, 0, 1}}},
        {"a route without a gateway", RouteHeader + route("00000000"), {}},
        {"table order, each gateway once, either case of digits",
         RouteHeader + route("0100000A") + route("fe0110ac", "eth1") + route("0100000A", "eth2") +
             route("FE0110AC", "eth3"),
         {{10, 0, 0, 1}, {172, 16, 1, 254}}},
        {"malformed gateways and short rows",
         RouteHeader + route("0100000G") + route("10100000A") + route("-100000A") + "eth0\t00000000\n" +
             "\n   \n" + route("0200000A"),
         {{10, 0, 0, 2}}},
        {"a long line between good ones",
         RouteHeader + route("0100000A") + LongLine + route("0200000A"),
         {{10, 0, 0, 1}, {10, 0, 0, 2}}},
        {"a last line without its end", RouteHeader + "eth0\t00000000\t0300000A\t0003", {{10, 0, 0, 3}}},
    };
    for (const RouteCase& c : cases) {
        std::vector<Address> expected;
        for (const Address& a : c.gateways)
            expected.push_back(onThisMachine(a));
        EXPECT_EQ(RouteGateways(c.table), expected) << c.what;
    }
}

struct NeighbourCase {
    const char* what;
    std::string table;
    std::vector<std::string> neighbours; // "address link-address interface"
};

std::string text(const LocalNeighbour& n) {
    return std::to_string(n.address[0]) + "." + std::to_string(n.address[1]) + "." +
           std::to_string(n.address[2]) + "." + std::to_string(n.address[3]) + " " + n.linkAddress + " " +
           n.interfaceName;
}

TEST(ProcNetTables, CompleteNeighboursAreReadAndBadLinesPassedOver) {
    const std::string good = "10.0.0.7         0x1         0x2         02:fc:00:00:0a:05     *        eth0\n";
    const NeighbourCase cases[] = {
        {"empty", "", {}},
        {"a complete entry, its link address in upper case",
         ArpHeader + good,
         {"10.0.0.7 02:FC:00:00:0A:05 eth0"}},
        {"incomplete and permanent entries",
         ArpHeader + "10.0.0.8 0x1 0x0 00:00:00:00:00:00 * eth0\n" +
             "10.0.0.9 0x1 0x6 02:00:00:00:00:09 * eth1\n" + "10.0.0.10 0x1 0x0 02:00:00:00:00:10 * eth0\n",
         {"10.0.0.9 02:00:00:00:00:09 eth1"}},
        {"malformed addresses, flags and short rows",
         ArpHeader + "10.0.0 0x1 0x2 02:00:00:00:00:01 * eth0\n" +
             "10.0.0.256 0x1 0x2 02:00:00:00:00:02 * eth0\n" +
             "10.0.0.1.5 0x1 0x2 02:00:00:00:00:03 * eth0\n" + "10.0.0.x 0x1 0x2 02:00:00:00:00:04 * eth0\n" +
             "10.0..4 0x1 0x2 02:00:00:00:00:05 * eth0\n" + "10.0.0.6 0x1 0xZ 02:00:00:00:00:06 * eth0\n" +
             "10.0.0.7 0x1 0x 02:00:00:00:00:07 * eth0\n" + "10.0.0.8 0x1 0x2 02:00:00:00:00:08 *\n" + "\n" +
             good,
         {"10.0.0.7 02:FC:00:00:0A:05 eth0"}},
        {"a long line between good ones",
         ArpHeader + good + LongLine + good,
         {"10.0.0.7 02:FC:00:00:0A:05 eth0", "10.0.0.7 02:FC:00:00:0A:05 eth0"}},
    };
    for (const NeighbourCase& c : cases) {
        std::vector<std::string> got;
        for (const LocalNeighbour& n : CompleteNeighbours(c.table))
            got.push_back(text(n));
        EXPECT_EQ(got, c.neighbours) << c.what;
    }
}

} // namespace
