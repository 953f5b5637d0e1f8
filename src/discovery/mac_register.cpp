#include "discovery/mac_register.h"

#include <charconv>

namespace {

constexpr std::string_view CrLf = "\r\n";

std::string pfcAnno(const MacEntry& e) { return e.PFC + "/" + e.Anno; }

bool passes(const MacEntry& e, const MacReportFilter& f) {
    switch (f.by) {
    case MacReportBy::Pfc:
        return e.PFC == f.pfc && e.Anno == f.anno;
    case MacReportBy::Cliente:
        return e.Cliente == f.cliente;
    case MacReportBy::Anno:
        return e.Anno == f.anno;
    }
    return false;
}

std::string reportTitle(const MacReportFilter& f) {
    switch (f.by) {
    case MacReportBy::Pfc:
        return "PCF " + f.pfc + "/" + f.anno;
    case MacReportBy::Cliente:
        return "Cliente " + f.cliente;
    case MacReportBy::Anno:
        return "Anno 20" + f.anno;
    }
    return {};
}

std::optional<MacEntry> parseRecord(std::string_view line) {
    size_t t1 = line.find('\t');
    size_t t2 = t1 == std::string_view::npos ? t1 : line.find('\t', t1 + 1);
    size_t t3 = t2 == std::string_view::npos ? t2 : line.find('\t', t2 + 1);
    std::string_view id = line.substr(0, t1);
    MacEntry e;
    auto [end, ec] = std::from_chars(id.data(), id.data() + id.size(), e.ID);
    if (id.empty() || ec != std::errc{} || end != id.data() + id.size()) return std::nullopt;
    if (t1 == std::string_view::npos) return e;
    e.MAC = std::string(line.substr(t1 + 1, t2 - t1 - 1));
    if (t2 == std::string_view::npos) return e;
    std::string_view third = line.substr(t2 + 1, t3 == std::string_view::npos ? t3 : t3 - t2 - 1);
    size_t slash = third.find('/');
    e.PFC = std::string(third.substr(0, slash));
    if (slash != std::string_view::npos) e.Anno = std::string(third.substr(slash + 1));
    if (t3 != std::string_view::npos) e.Cliente = std::string(line.substr(t3 + 1));
    return e;
}

} // namespace

std::string macListLine(const MacEntry& e) {
    return "[" + std::to_string(e.ID) + "]\t" + e.MAC + "\tPFC:" + pfcAnno(e) + "\tCl.:" + e.Cliente;
}

std::string writeMacList(const std::vector<MacEntry>& entries) {
    std::string out;
    for (const MacEntry& e : entries)
        out += std::to_string(e.ID) + "\t" + e.MAC + "\t" + pfcAnno(e) + "\t" + e.Cliente + std::string(CrLf);
    return out;
}

MacListRead readMacList(std::string_view bytes) {
    MacListRead read;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t eol = bytes.find('\n', pos);
        std::string_view line = bytes.substr(pos, eol == std::string_view::npos ? eol : eol - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        pos = eol == std::string_view::npos ? bytes.size() : eol + 1;
        std::optional<MacEntry> e = read.entries.size() < MacSlots ? parseRecord(line) : std::nullopt;
        if (!e) {
            read.badRecord = read.entries.size() + 1;
            break;
        }
        read.entries.push_back(std::move(*e));
    }
    return read;
}

std::string macReport(const std::vector<MacEntry>& entries, const MacReportFilter& filter,
                      const std::string& dateTime) {
    std::string out = "Report MAC per " + reportTitle(filter) + std::string(CrLf);
    out += dateTime + std::string(CrLf);
    out += std::string(53, '-') + std::string(CrLf);
    out += "ID\tMAC\t\t\tPFC\tCliente" + std::string(CrLf);
    for (const MacEntry& e : entries) {
        if (!passes(e, filter)) continue;
        out += std::to_string(e.ID) + "\t" + e.MAC + "\t" + (e.PFC.empty() ? "___/__" : pfcAnno(e)) + "\t" +
               (e.Cliente.empty() ? std::string(17, '_') : e.Cliente) + std::string(CrLf);
    }
    return out;
}

bool macFieldsStorable(const std::string& pfc, const std::string& anno, const std::string& cliente) {
    auto breaks = [](const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; };
    auto splits = [&](const std::string& s) { return breaks(s) || s.find_first_of("/\t") != std::string::npos; };
    return !splits(pfc) && !splits(anno) && !breaks(cliente);
}
