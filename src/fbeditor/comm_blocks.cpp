// Communication blocks: plain, device and pointer reads and writes.
#include "fbeditor/families.h"
#include "fbeditor/number_text.h"

namespace {

struct Module {
    int NameEntry;           // entry of ModelNames, the names of the current branding set
    const char* DefaultName; // its text in the default set, used while no names are loaded
    int Code;
    bool InWriteList;
};
constexpr Module Modules[] = {
    {10, "JXV7734", 0, false}, {11, "JXV7924", 1, false}, {12, "JXV7243", 2, false},
    {13, "JXV7650", 3, false}, {14, "JXV7711", 4, false}, {16, "JXV7174", 5, false},
    {17, "JXV7541", 10, true}, {18, "JXV7020", 11, true}, {19, "JXV7287", 12, true},
    {20, "JXV7038", 20, true}, {21, "JXV7632", 21, true}, {22, "JXV7106", 22, false},
    {23, "JXV7556", 23, true},
};

std::string moduleName(Editor& e, const Module& m) {
    const std::string& name = e.context().shell.ModelNames[static_cast<size_t>(m.NameEntry)];
    return name.empty() ? m.DefaultName : name;
}

struct Resource {
    const char* Text;
    int Data;
};
constexpr uint32_t codes(std::initializer_list<int> list) {
    uint32_t m = 0;
    for (int c : list)
        m |= 1u << c;
    return m;
}
struct ResourceList {
    bool Write;
    uint32_t Codes; // bit c set: module code c
    std::array<Resource, 3> Entries;
    int Count;
    bool DigitalRows; // channel rows hidden with "0"
};
constexpr ResourceList ResourceLists[] = {
    {false, codes({0, 1, 3, 5}), {{{"Analog In", 14}, {"Sync Inputs", 22}}}, 2, false},
    {false, codes({2, 4}), {{{"Analog In", 14}, {"Sync Inputs", 22}, {"CJC Value", 13}}}, 3, false},
    {false, codes({10, 11, 12}), {{{"Analog Out", 14}}}, 1, false},
    {false, codes({20, 21, 23}), {{{"Digital In", 8}}}, 1, true},
    {false, codes({22}), {{{"Digital In", 10}}}, 1, true},
    {true, codes({10, 11, 12}), {{{"Analog Out", 14}}}, 1, false},
    {true, codes({20, 21, 23}), {{{"Digital Out", 14}}}, 1, false},
};

RowSpec constant(std::string label, double value) {
    return {std::move(label), value, false, KindUInt, typeBit(KindUInt)};
}

// A Modbus slave address: 0 (broadcast) to 247.
RowSpec slaveAddress(std::string label) {
    RowSpec s = constant(std::move(label), 1);
    s.Min = 0;
    s.Max = 247;
    return s;
}

// The most registers or coils one request of the block's function may move; 0 where there is no count.
int maxCount(int k) {
    switch (k) {
    case 0:  // Read Input
    case 31: // Read/Write
    case 40: // Read Holding
        return 125;
    case 1: // Write Multiple
        return 123;
    case 60: // Read Coils
        return 2000;
    case 61: // Write Coils
        return 1968;
    default:
        return 0;
    }
}

void showDelay(Editor& e) {
    e.state.Delay = "10";
    e.state.DelayVisible = true;
}

void addressRows(Editor& e, int k, bool numberRow) {
    showRow(e, 0, slaveAddress(e.uiText(64)));
    showRow(e, 1, constant(e.uiText(65), 1));
    RowSpec number = constant(e.uiText(66), 1);
    if (int most = maxCount(k); most > 0) {
        number.Min = 1;
        number.Max = most;
    }
    if (numberRow) showRow(e, 2, number);
}

bool isDeviceWrite(const CatalogueEntry& c) {
    return c.Type == 1 && c.Opcode == 1;
}
bool isDeviceRead(const CatalogueEntry& c) {
    return (c.Type == 2 || c.Type == 4) && c.Opcode == 1;
}

void setChannelRows(Editor& e, bool visible) {
    for (int i : {5, 6}) {
        ArgumentRow& r = e.state.Rows[static_cast<size_t>(i)];
        r.CaptionVisible = r.Value.Visible = visible;
        if (!visible) r.Value.setText("0");
    }
}

// Channel range of the chosen module: From not below the lowest channel, To not above the highest,
// From not above To.
void checkChannels(Encoding& enc) {
    double from = enc.value(5), to = enc.value(6);
    if (from < enc.e.CanaleMin || to > enc.e.CanaleMax || from > to)
        throw RejectedValue{5, "channels from " + std::to_string(enc.e.CanaleMin) + " to " +
                                   std::to_string(enc.e.CanaleMax) + ", From not above To"};
}

// Slots 4..7, the delay in bytes 16 and 20, Delay and DataSize: the end of every communication block.
void finishComm(Encoding& enc) {
    enc.zero(4, 7);
    std::array<uint8_t, 2> d = enc.twoBytes(numericValue(enc.e.state.Delay));
    enc.setByte(16, d[0]);
    enc.setByte(20, d[1]);
    enc.r.Delay = static_cast<uint16_t>(d[0] | d[1] << 8);
    enc.r.DataSize = 0;
}

void encodePlain(Encoding& enc) {
    enc.put(0, enc.value(0), KindUInt);
    enc.put(1, enc.value(1), KindUInt);
    enc.put(2, enc.value(2), KindUInt);
    enc.put(3, enc.value(4), KindUInt);
    for (int i : {0, 1, 2})
        enc.caption(i);
    enc.captionWithType(4);
    enc.summary({0, 1, 2, 4});
}

void deviceDisplay(Encoding& enc) {
    for (int i : {0, 1, 4, 5, 6})
        enc.caption(i);
    enc.captionWithType(7);
    enc.summary({0, 1, 4, 5, 6, 7});
}

} // namespace

void setupPlainRead(Editor& e, int k) {
    addressRows(e, k, true);
    showRow(e, 4, registerRow(e, e.uiText(67), KindUInt, typeBit(KindUInt)));
    showDelay(e);
}

void setupPlainWrite(Editor& e, int k) {
    addressRows(e, k, k != 65); // "Write Single" has no "Number" row
    showRow(e, 4, registerRow(e, e.uiText(69), KindUInt, typeBit(KindUInt)));
    showDelay(e);
}

void setupReadWrite(Editor& e, int k) {
    addressRows(e, k, true);
    showRow(e, 4, registerRow(e, e.uiText(69), KindInt, typeBit(KindUInt) | typeBit(KindInt)));
    showDelay(e);
}

void setupPointerRead(Editor& e, int) {
    showRow(e, 0, {e.uiText(76), 1, false, PointerKindBase + KindUInt, 0, typeBit(KindUInt)});
    showRow(e, 4, registerRow(e, e.uiText(67), KindUInt, typeBit(KindUInt)));
    showDelay(e);
}

void setupDevice(Editor& e, int k) {
    bool write = isDeviceWrite(catalogueEntry(k));
    showRow(e, 4, constant(e.uiText(71), 1));
    showRow(e, 0, constant(e.uiText(70), 1));
    ComboBox& modules = e.state.Rows[0].Value;
    for (const Module& m : Modules)
        if (!write || m.InWriteList) modules.add(moduleName(e, m), m.Code);
    modules.select(0);
    e.rowClick(0);
    showRow(e, 1, slaveAddress(e.uiText(64)));
    showRow(e, 5, constant(e.uiText(72), 0));
    showRow(e, 6, constant(e.uiText(73), 0));
    showRow(e, 7, registerRow(e, e.uiText(write ? 69 : 67), KindInt, typeBit(KindUInt) | typeBit(KindInt)));
    showDelay(e);
}

void deviceRowClick(Editor& e) {
    const CatalogueEntry& c = catalogueEntry(e.state.ChosenOption);
    bool write = isDeviceWrite(c);
    if (!write && !isDeviceRead(c)) return;
    ComboBox& resources = e.state.Rows[4].Value;
    resources.Items.clear();
    resources.Selected = -1;
    ComboBox& modules = e.state.Rows[0].Value;
    modules.setText(modules.Text);
    setChannelRows(e, true);
    e.CanaleMin = 0;
    e.CanaleMax = 7;
    e.NumeroCanali = 8;
    if (!modules.hasSelection()) return; // no module chosen: no resources to offer
    int code = modules.selectedData();
    for (const ResourceList& list : ResourceLists) {
        if (list.Write != write || code < 0 || code > 31 || !(list.Codes & (1u << code))) continue;
        for (int j = 0; j < list.Count; ++j)
            resources.add(list.Entries[static_cast<size_t>(j)].Text,
                          list.Entries[static_cast<size_t>(j)].Data);
        if (list.DigitalRows) setChannelRows(e, false);
        if (code == 22) {
            e.CanaleMax = 15;
            e.NumeroCanali = 16;
        }
    }
    resources.select(0);
}

namespace {

// Slots 1 and 2 of a device write: the first channel and the count of the range, by module entry.
void writeRange(Encoding& enc) {
    const ArgumentRow& device = enc.e.state.Rows[0];
    int p = device.Value.hasSelection() ? device.Value.Selected : -1;
    double from = enc.value(5), to = enc.value(6);
    if (p >= 0 && p <= 2) {
        double base = enc.e.state.Rows[4].Value.Selected == 0 ? 14 : 0;
        enc.put(1, base + from, KindUInt);
        enc.put(2, to + 1 - from, KindUInt);
    } else if (p >= 3 && p <= 5) {
        enc.put(1, 9, KindUInt);
        enc.put(2, 1, KindUInt);
    }
}

// Slots 1 and 2 of a device read: the chosen resource's base plus the first channel, and the count.
void readRange(Encoding& enc) {
    ComboBox& resources = enc.e.state.Rows[4].Value;
    for (size_t j = 0; j < resources.Items.size(); ++j)
        if (resources.Items[j].Text == resources.Text) resources.Selected = static_cast<int>(j);
    double base = resources.selectedData(0);
    double from = enc.value(5), to = enc.value(6);
    enc.e.Args[2].Value = base + from;
    enc.e.Args[3].Value = to + 1 - from;
    enc.put(1, enc.e.Args[2].Value, KindUInt);
    enc.put(2, enc.e.Args[3].Value, KindUInt);
}

// A device block: the channels checked, the address in slot 0, the range, the register in slot 3.
// The plain read and write blocks (opcode 0) share the type and encode as such.
void encodeDevice(Encoding& enc, void (*range)(Encoding&)) {
    if (enc.r.Opcode == 0) {
        encodePlain(enc);
    } else {
        checkChannels(enc);
        enc.put(0, enc.value(1), KindUInt);
        range(enc);
        enc.put(3, enc.value(7), KindUInt);
        deviceDisplay(enc);
    }
    finishComm(enc);
}

} // namespace

void encodeWrite(Encoding& enc) {
    encodeDevice(enc, writeRange);
}

void encodeRead(Encoding& enc) {
    encodeDevice(enc, readRange);
}

void encodePointerRead(Encoding& enc) {
    enc.put(0, enc.value(0), KindUInt);
    enc.put(3, enc.value(4), KindUInt);
    enc.caption(0);
    enc.captionWithType(4);
    enc.summary({0, 4});
    finishComm(enc);
}
