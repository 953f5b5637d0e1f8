#include "comm/register_map.h"

#include <algorithm>
#include <initializer_list>
#include <span>

#include "core/app_context.h"
#include "core/model_catalogue.h"

namespace {

// Value type codes (ValueTypeNames) used by the map.
enum ValueType : uint8_t { UInt = 0, Int = 1, Long = 3, Hex = 7, Ascii = 8, Bin = 9 };

constexpr std::string_view Reserved = "--Reserved--";

// A run of registers: count registers from first, step apart; a '#' in the name becomes 0, 1, 2 ...
struct Span {
    uint16_t first;
    uint8_t count;
    std::string_view name;
    uint8_t type = Int;
    uint8_t kind = KindSystem;
    uint8_t step = 1;
};

using SpanList = std::span<const Span>;

bool isOneOf(int entry, std::initializer_list<int> entries) {
    return std::find(entries.begin(), entries.end(), entry) != entries.end();
}

bool isController(int e) {
    return isOneOf(e, {NameJXV8410, NameJXV8410IO, NameJXV8410DL, NameJXV8410DLIO, NameJXV8410USB,
                       NameJXV8250, NameJXV8250DL, NameJXV8250USB, NameJXV8480, NameJXV8480AI});
}

bool isModule(int e) {
    return isOneOf(e, {NameJXV9568, NameKELMO7593, NameJXV9921, NameJXV9704, NameJXV9422, NameJXV9322,
                       NameJXV9628, NameJXV9436I, NameJXV9436V, NameJXV9025, NameJXV9169, NameJXV9787,
                       NameJXV9663, NameJXV9930});
}

bool isNetwork(int e) {
    return isOneOf(e, {NameJXV8410USB, NameJXV8250USB}) || (isModule(e) && e != NameKELMO7593);
}

// I/O maps of registers 26 upward, by model.
constexpr Span Jxv7593Io[] = {{26, 2, "Analog Input[#]"},
                              {28, 4, Reserved},
                              {32, 2, "Analog Output[#]"},
                              {1216, 1, "Input Type[1-0]", Hex, KindTopBlock}};
constexpr Span Kelmo7593Io[] = {{26, 1, "Analog Input [0 - RTD ]"},
                                {27, 1, "Analog Input [1 - RTD ]"},
                                {28, 1, "Analog Input [2 - mV  ]"},
                                {29, 1, "Analog Input [3 - Volt]"},
                                {30, 1, "Analog Input [4 - mA  ]"},
                                {31, 1, "Analog Input [5 - mA  ]"},
                                {32, 1, "Analog Input [6 - Volt]"},
                                {33, 1, "Analog Input [7 - Volt]"},
                                {34, 1, "Analog Input [8 - mV  ]"},
                                {35, 1, "Analog Input [9 - mA  ]"},
                                {36, 1, Reserved},
                                {37, 2, "Analog Output [#]"}};
constexpr Span FourInputsIo[] = {{26, 4, Reserved}, {30, 4, "Input Type [#]", Hex},
                                 {34, 1, Reserved}, {35, 1, "--Enabled channels [0-3]--", Bin},
                                 {36, 4, Reserved}, {40, 4, "Analog Input [#]"},
                                 {44, 5, Reserved}, {49, 1, "--Break Status [0-3]--", Bin}};
constexpr Span EightInputsIo[] = {{26, 4, Reserved},
                                  {30, 1, "Input Type [1-0]", Hex},
                                  {31, 1, "Input Type [3-2]", Hex},
                                  {32, 1, "Input Type [5-4]", Hex},
                                  {33, 1, "Input Type [7-6]", Hex},
                                  {34, 1, Reserved},
                                  {36, 4, Reserved},
                                  {48, 1, Reserved}};
constexpr Span EightInputsEnabled[] = {{35, 1, "--Enabled channels [0-7]--", Bin}};
constexpr Span EightInputsValues[] = {{40, 8, "Analog Input [#]"}};
constexpr Span EightInputsBreak[] = {{49, 1, "--Break Status [0-7]--", Bin}};
constexpr Span Jxv9322Inputs[] = {{35, 1, Reserved},
                                  {40, 1, "Analog Input [0 - mA]"},
                                  {41, 1, "Analog Input [1 - V]"},
                                  {42, 1, "Analog Input [2 - mA]"},
                                  {43, 1, "Analog Input [3 - V]"},
                                  {44, 1, "Analog Input [4- mA]"},
                                  {45, 1, "Analog Input [5 - V]"},
                                  {46, 1, "Analog Input [6- mA]"},
                                  {47, 1, "Analog Input [7 - V]"}};
constexpr Span ReservedAt49[] = {{49, 1, Reserved}};
constexpr Span Jxv9930Io[] = {{26, 4, Reserved},
                              {30, 1, "Output Type [1-0]", Hex},
                              {31, 1, "Output Type [3-2]", Hex},
                              {32, 8, Reserved},
                              {40, 4, "Analog Output [#]"},
                              {44, 4, Reserved},
                              {48, 4, "Power-Up Value [#]"},
                              {52, 4, Reserved},
                              {56, 4, "Safe Value [#]"},
                              {60, 3, Reserved}};
constexpr Span Jxv2569Io[] = {{26, 1, "Analog Input"},
                              {27, 6, Reserved},
                              {33, 1, "Analog Output"},
                              {1209, 1, "Output Type"},
                              {1210, 1, "Zero In"},
                              {1211, 1, "Span In"},
                              {1212, 1, "Zero Out"},
                              {1213, 1, "Span Out"},
                              {1214, 1, "Input Type"},
                              {1215, 1, "T 0 (ms)"},
                              {1216, 1, "Input Type (def)", Int, KindTopBlock},
                              {1217, 1, "Output Type (def)", Int, KindTopBlock},
                              {1218, 1, "Zero In (def)", Int, KindTopBlock},
                              {1219, 1, "Span In (def)", Int, KindTopBlock},
                              {1220, 1, "Zero Out (def)", Int, KindTopBlock},
                              {1221, 1, "Span Out (def)", Int, KindTopBlock},
                              {1222, 1, "1 Lo (prg)", Int, KindTopBlock},
                              {1223, 1, "1 Hi (prg)", Int, KindTopBlock},
                              {1224, 1, "2 Lo (prg)", Int, KindTopBlock},
                              {1225, 1, "2 Hi (prg)", Int, KindTopBlock},
                              {1226, 1, "3 Lo (prg)", Int, KindTopBlock},
                              {1227, 1, "3 Hi (prg)", Int, KindTopBlock},
                              {1228, 1, "4 Lo (prg)", Int, KindTopBlock},
                              {1229, 1, "4 Hi (prg)", Int, KindTopBlock},
                              {1230, 1, "T on 1/10s (prg)", Int, KindTopBlock},
                              {1231, 1, "T 0  1/10s (prg)", Int, KindTopBlock}};
constexpr Span Jxv8250Io[] = {
    {26, 2, "Analog Input[#]"}, {32, 2, "Analog Output[#]"}, {34, 1, "Input Type[1-0]", Hex}};
constexpr Span Jxv8480AiIo[] = {{26, 1, "Analog Input"}, {27, 7, Reserved, UInt}, {34, 1, "Input type", Hex}};
constexpr Span DigitalOutputsAt30[] = {{30, 1, "Digital Outputs", Bin}};
constexpr Span ReservedAt30[] = {{30, 1, Reserved, UInt}};
constexpr Span DigitalModuleIo[] = {{31, 1, "Digital Inputs", Bin},
                                    {32, 1, "Digital Inputs Rise Latch", Bin},
                                    {33, 1, "Digital Inputs Fall Latch", Bin},
                                    {34, 4, "Freq[Dig In #]", UInt},
                                    {38, 4, "Counter[Dig In #]", Long, KindSystem, 2},
                                    {45, 1, Reserved, UInt}};

// The I/O map of one model: the lists of spans it writes, in order.
struct IoMap {
    int model;
    std::array<SpanList, 4> spans;
};

constexpr std::array<SpanList, 4> EightInputsWithBreak{EightInputsIo, EightInputsEnabled, EightInputsValues,
                                                       EightInputsBreak};
constexpr std::array<SpanList, 4> EightInputsNoBreak{EightInputsIo, EightInputsEnabled, EightInputsValues,
                                                     ReservedAt49};

constexpr IoMap IoMaps[] = {
    {NameJXV7593, {Jxv7593Io}},
    {NameKELMO7593, {Kelmo7593Io}},
    {NameJXV9422, {FourInputsIo}},
    {NameJXV9628, {FourInputsIo}},
    {NameJXV9322, {EightInputsIo, Jxv9322Inputs, EightInputsBreak}},
    {NameJXV9436I, EightInputsNoBreak},
    {NameJXV9436V, EightInputsNoBreak},
    {NameJXV9025, EightInputsWithBreak},
    {NameJXV9169, EightInputsWithBreak},
    {NameJXV9930, {Jxv9930Io}},
    {NameJXV2569, {Jxv2569Io}},
    {NameJXV8250, {Jxv8250Io}},
    {NameJXV8250DL, {Jxv8250Io}},
    {NameJXV8250USB, {Jxv8250Io}},
    {NameJXV8480AI, {Jxv8480AiIo}},
    {NameJXV9568, {DigitalOutputsAt30, DigitalModuleIo}},
    {NameJXV9704, {ReservedAt30, DigitalModuleIo}},
};

class Mapper {
  public:
    Mapper(CommState& comm, const std::array<std::string, RegisterKindCount>& prefixes)
        : comm_(comm), prefixes_(prefixes) {}

    void set(int reg, std::string_view name, uint8_t type, uint8_t kind = KindSystem) {
        ImpostaRegistro(comm_, prefixes_, reg, name, type, kind);
    }
    void reserved(int reg) { set(reg, Reserved, UInt); }
    // The label of a register that has none yet, from its kind and number; nothing else changes.
    void label(int reg) {
        RegisterRecord& r = comm_.Registers[static_cast<size_t>(reg)];
        if (r.Label.empty() && r.Kind < RegisterKindCount) r.Label = prefixes_[r.Kind] + std::to_string(reg);
    }
    void reserved(int first, int last) {
        for (int r = first; r <= last; ++r)
            reserved(r);
    }
    void span(const Span& s) {
        for (int i = 0; i < s.count; ++i)
            set(s.first + i * s.step, numbered(s.name, i), s.type, s.kind);
    }
    void spans(SpanList list) {
        for (const Span& s : list)
            span(s);
    }

  private:
    static std::string numbered(std::string_view pattern, int index) {
        std::string name(pattern);
        if (auto at = name.find('#'); at != std::string::npos) name.replace(at, 1, std::to_string(index));
        return name;
    }

    CommState& comm_;
    const std::array<std::string, RegisterKindCount>& prefixes_;
};

void systemRegisters(Mapper& m, int e, const ModelRecord& model) {
    const bool kelmo = e == NameKELMO7593, module = isModule(e);
    kelmo ? m.reserved(10) : m.set(10, "System Flags", Bin);
    isOneOf(e, {NameJXV9568, NameKELMO7593, NameJXV9921}) ? m.set(11, "PowerUp / Safe ", Bin)
                                                          : m.reserved(11);
    kelmo ? m.reserved(12) : m.set(12, "WatchDog Time", UInt, KindSettings);
    if (module) {
        m.reserved(14, 15);
        m.reserved(20, 21);
    } else {
        m.set(14, "Status[0]", Bin);
        m.set(15, "Status[1]", UInt);
        m.set(20, "Timers Enable", Bin);
        m.set(21, "Time Base Flags", Bin);
    }
    if (model.IsProgrammable) {
        m.set(0, "RUN", UInt);
        kelmo ? m.reserved(13) : m.set(13, "PC", UInt);
    }
}

void serialPorts(Mapper& m, int e) {
    if (isController(e)) {
        if (e == NameJXV8480AI) {
            for (int r : {5, 7, 17, 19})
                m.reserved(r);
        } else {
            m.set(5, "Port 1 Set (485 master)", Hex, KindSettings);
            m.set(7, "Port 1 Timeout", UInt, KindSettings);
            m.set(19, "Port 2 Set (232 slave)", Hex, KindSettings);
            m.set(17, "Gateway Mask[L-H]", Hex);
        }
        m.set(18, "Port 0 Set (485 slave)", Hex, KindSettings);
        m.set(16, "COM Errors", UInt);
    } else if (isOneOf(e, {NameJXV7593, NameKELMO7593})) {
        m.set(18, "Port 0 Set (485 slave)", UInt);
    }
}

void networkRegisters(Mapper& m, int e) {
    constexpr std::string_view ip[] = {"IP[3/2]",      "IP[1/0]",   "Mask[3/2]", "Mask[1/0]", "Gateway[3/2]",
                                       "Gateway[1/0]", "DNS1[3/2]", "DNS1[1/0]", "DNS2[3/2]", "DNS2[1/0]"};
    for (int i = 0; i < 10; ++i)
        m.set(945 + i, ip[i], Hex);
    m.set(955, "Option", Bin);
    m.reserved(956, 958);
    m.set(959, "Command", UInt);
    m.set(1024, "Status DDNS", UInt);
    m.set(1025, "Status Email", UInt);
    m.span({1026, 20, "Retain[#]", UInt});
    m.set(1046, "Status NTP [0]", UInt);
    m.set(1047, "Status NTP [1]", UInt);
    if (isModule(e)) {
        m.reserved(1048);
        m.reserved(1220, 1223);
    } else {
        m.set(1048, "Status USB", Bin);
        m.span({1220, 4, "Log Dir [#]", Ascii, KindTopBlock});
    }
}

void localIo(Mapper& m, int e) {
    if (isModule(e)) {
        for (int r : {8, 9, 928, 929, 930, 931, 932, 934, 936, 938, 940})
            m.reserved(r);
        return;
    }
    m.set(8, "Digital Inputs", Bin);
    m.set(9, "Digital Outputs", Bin);
    m.span({928, 4, "Freq[#]", UInt});
    m.span({932, 4, "Counter[#]", Long, KindSystem, 2});
    m.set(940, "Encoder[0/1]", UInt);
}

} // namespace

bool ImpostaRegistro(CommState& comm, const std::array<std::string, RegisterKindCount>& prefixes, int reg,
                     std::string_view name, uint8_t valueType, uint8_t kind) {
    if (reg < 0 || reg >= RegisterCount || kind >= RegisterKindCount) return false;
    RegisterRecord& r = comm.Registers[static_cast<size_t>(reg)];
    r.ValueType = valueType;
    r.Kind = kind;
    r.Name = name;
    r.Label = prefixes[kind] + std::to_string(reg);
    return true;
}

void MappaRegistri(CommState& comm, const ShellState& shell, bool keep) {
    int row =
        comm.CurrentDevice.ModelIndex < FilledModelRows ? comm.CurrentDevice.ModelIndex : DefaultModelIndex;
    const ModelRecord& model = shell.Models[static_cast<size_t>(row)];
    const int e = ModelNameEntryOf(row);
    // The catalogue keeps its counts inside the table; bound them anyway so no row can write past it.
    const int firstUser = std::min<int>(model.FirstUserRegister, RegisterCount);
    const int numRegisters = std::min<int>(model.NumRegisters, RegisterCount);
    Mapper m(comm, shell.RegisterPrefixes);

    m.reserved(0, firstUser - 1);
    const int highEnd = std::min<int>(model.HighRegisterStart + model.HighRegisterCount, RegisterCount);
    if (!keep) {
        for (int r = firstUser; r < numRegisters; ++r)
            m.set(r, "", Int, KindProject);
        for (int r = model.HighRegisterStart; r < highEnd; ++r)
            m.set(r, "", Int, KindTopBlock);
    } else {
        // Kept registers keep their names and types; one that was never named still shows its number.
        for (int r = firstUser; r < numRegisters; ++r)
            m.label(r);
        for (int r = model.HighRegisterStart; r < highEnd; ++r)
            m.label(r);
    }
    m.set(1, "Firmware[0]", Hex, KindSettings);
    m.set(2, "Firmware[1]", Hex, KindSettings);
    m.set(3, "Name[0]", Ascii, KindSettings);
    m.set(4, "Name[1]", Ascii, KindSettings);
    m.set(6, "Address", UInt, KindSettings);
    systemRegisters(m, e, model);
    serialPorts(m, e);
    if (model.HasRtc) {
        m.set(22, "RTC[Sec]", Hex);
        m.set(23, "RTC[Min/Hours]", Hex);
        m.set(24, "RTC[Day/Date]", Hex);
        m.set(25, "RTC[Month/Year]", Hex);
    }
    if (isNetwork(e)) networkRegisters(m, e);
    if (model.LocalIoCount != 0) localIo(m, e);
    for (const IoMap& map : IoMaps)
        if (map.model == e)
            for (SpanList list : map.spans)
                m.spans(list);
    if (model.HasDisplay) {
        m.set(8, "Function Keys", Bin);
        m.set(9, "Actual Page", UInt);
        m.set(11, "Display Options", Bin);
    }
    if (comm.onRegisterNamesChanged) comm.onRegisterNamesChanged();
}

void MappaRegistri(AppContext& ctx, bool keep) {
    MappaRegistri(ctx.comm, ctx.shell, keep);
}
