#pragma once
// The MAC address register: numbered device MAC addresses, each assignable to a PFC, a year and a
// customer; its TAB-separated list file and its text reports.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct MacEntry {
    std::string MAC; // six upper-case hex pairs joined by "-"
    int32_t ID = 0;
    std::string PFC; // empty: not assigned
    std::string Anno;
    std::string Cliente;
};

constexpr size_t MacSlots = 65536;

// One line of the window's list: "[ID]" TAB MAC TAB "PFC:" PFC "/" Anno TAB "Cl.:" Cliente.
std::string macListLine(const MacEntry& e);

// The list file: ID TAB MAC TAB PFC "/" Anno TAB Cliente, every record ended by CR LF.
std::string writeMacList(const std::vector<MacEntry>& entries);

struct MacListRead {
    std::vector<MacEntry> entries; // the records read before the first bad one
    std::optional<size_t> badRecord; // 1-based number of the record that stopped the reading
};
// Reads records until the end or the first record that cannot be read (ID not a number, an empty
// line, the 65,537th record). CR LF or a bare LF end a line.
MacListRead readMacList(std::string_view bytes);

enum class MacReportBy { Pfc = 0, Cliente = 1, Anno = 2 };
struct MacReportFilter {
    MacReportBy by = MacReportBy::Pfc;
    std::string pfc, anno, cliente; // the boxes as they stand
};
// The report of the entries passing the filter, in table order; dateTime is the second line.
std::string macReport(const std::vector<MacEntry>& entries, const MacReportFilter& filter,
                      const std::string& dateTime);

// Texts that would break a record of the list file: "/" or TAB in PFC or year, line breaks anywhere.
bool macFieldsStorable(const std::string& pfc, const std::string& anno, const std::string& cliente);
