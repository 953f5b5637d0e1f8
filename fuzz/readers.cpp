// libFuzzer targets: one binary <name>_fuzz per reader of outside bytes, each built from this file with
// MELQO_FUZZ_READER naming its row of the table below. Nothing a file, a device or the network hands over
// may be trusted for its lengths and counts.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <unistd.h>

#include "comm/device_procedures.h"
#include "comm/transaction.h"
#include "core/app_context.h"
#include "core/model_catalogue.h"
#include "core/settings_file.h"
#include "designers/image_table.h"
#include "designers/ui/picture_file.h"
#include "discovery/device_search.h"
#include "discovery/ftp_listing.h"
#include "discovery/mac_register.h"
#include "discovery/node_identity.h"
#include "discovery/search_protocol.h"
#include "factorytest/energy_meter/energy_meter_blocks.h"
#include "factorytest/instruments/bench_instruments.h"
#include "factorytest/multichannel_config/input_calibration_memory.h"
#include "platform/datagram_socket.h"
#include "platform/local_addresses.h"
#include "program/display_compiler.h"
#include "program/scheduler_compiler.h"
#include "program/table_pages.h"
#include "program/transfer/memory_image_text.h"
#include "project/project_files.h"
#include "project/table_file.h"
#include "support/fake_dialogs.h"
#include "support/fake_serial_port.h"

namespace {

// The whole input, and its first byte apart: for the project-set files that byte says how the rest is
// read (bit 0 the tagged or counted layout, the other bits a counted record length of 0..127 items) and
// picks a model of the catalogue, so the limits the readers take from it vary too.
struct Input {
    explicit Input(std::string_view bytes) : all(bytes) {}
    std::string_view all;
    uint8_t selector = all.empty() ? 0 : static_cast<uint8_t>(all[0]);
    std::string_view text = all.substr(all.empty() ? 0 : 1);
    LoadReport report;

    SetLayout layout() const { return {(selector & 1) != 0, selector >> 1}; }
    ItemMode mode() const { return layout().mode(); }
    const ModelRecord& model() const {
        static const auto catalogue = [] {
            auto rows = std::make_unique<ModelCatalogue>();
            InitModelli(*rows, ModelNameList{});
            return rows;
        }();
        return (*catalogue)[selector % FilledModelRows];
    }
};

// Every wait takes its whole time-out at once.
class InstantPump : public EventPump {
  public:
    int64_t now = 0;
    void processEvents() override {}
    void pausa(double) override {}
    bool waitUntil(const std::function<bool()>& done, int timeoutMs, bool) override {
        now += timeoutMs > 0 ? timeoutMs : 1;
        return done();
    }
    int64_t nowMs() const override { return now; }
};

class NoSocket : public DatagramSocket {
  public:
    BindResult bind(const std::string&, uint16_t) override { return BindResult::Failed; }
    bool isBound() const override { return false; }
    std::string localAddress() const override { return {}; }
    uint16_t localPort() const override { return 0; }
    bool sendTo(const std::string&, const std::string&, uint16_t) override { return true; }
    void close() override {}
    std::string error() const override { return "none"; }
};

struct NoAddresses : LocalAddresses {
    std::vector<std::string> ipv4() const override { return {}; }
};

// One program state for the targets that run device procedures or the search, made once (it is big).
struct World {
    ShellState shell;
    CommState comm;
    Project project;
    FakeSerialPort link; // a device whose answer, there at once, is the input
    std::string answer;
    InstantPump pump;
    FakeDialogs dialogs;
    AppContext app{shell, comm, project, pump, dialogs, &link};
    NoSocket udp;
    NoAddresses addresses;
    DeviceSearch search{app, udp, addresses, {}};

    static World& fresh() {
        static auto w = [] {
            auto made = std::make_unique<World>();
            made->link.openSerial("", "", false);
            made->link.respond = [w = made.get()](const std::string&) { return w->answer; };
            made->link.onBytesReceived = [c = &made->comm] { c->DataArrived = 1; };
            return made;
        }();
        w->shell.log.LogClear();
        w->link.written.clear();
        w->dialogs.shown.clear();
        w->dialogs.boxes.clear();
        return *w;
    }
};

// The answer bytes to the transaction (RTU or TCP, with or without echo) and to the procedures that read
// answers.
void modbusAnswer(Input in) {
    World& w = World::fresh();
    CommState& comm = w.comm;
    w.answer = in.text;
    comm.LinkMode = (in.selector & 1) ? 2 : 1;
    comm.CurrentDevice.Connected = -1;
    comm.CurrentDevice.EchoRemove = (in.selector & 2) ? -1 : 0;
    comm.CurrentDevice.NodeAddress = 10;
    comm.AnswerTimeout = 1;
    comm.MonitorOn = -1;
    comm.MonitorRx.clear();
    using Procedure = void (*)(AppContext&);
    constexpr Procedure procedures[] = {
        [](AppContext& app) { LeggiMemoria(app, 10, 0x100, 65536 - 32, 32); },
        [](AppContext& app) { LeggiFlash(app, 10, 0xFFFFFF, 0, 255); },
        [](AppContext& app) { LeggiRegistro(app, 10, 5); },
        [](AppContext& app) { LeggiStatoPLC(app); },
        [](AppContext& app) {
            app.comm.TxBuffer[0] = 10;
            app.comm.TxBuffer[1] = 3;
            app.comm.TxLength = 6;
            TrasmettiRicevi(app, -1);
        },
    };
    procedures[(in.selector >> 2) % std::size(procedures)](w.app);
}

// A datagram to the search's receive event with any query flags, with the table filled up to anywhere
// around its end (second byte); the bytes also go to the search's other decoders.
void searchReply(Input in) {
    if (in.text.empty()) return;
    World& w = World::fresh();
    const std::string payload(in.text.substr(1));
    w.comm.SearchQueryA = (in.selector & 1) ? -1 : 0;
    w.comm.SearchQueryB = (in.selector & 2) ? -1 : 0;
    w.shell.Flags.Brand3 = (in.selector & 4) ? -1 : 0;
    w.shell.Flags.Internal = (in.selector & 8) ? -1 : 0;
    w.search.Elenco.clear();
    w.search.Elenco.add("", "rete", "Ethernet");
    w.search.DeviceIndex = static_cast<int16_t>(static_cast<uint8_t>(in.text[0]) % 110);
    w.search.UDP_DataArrival(payload, "127.0.0.2");
    w.search.CopyIP();
    w.search.Elenco_NodeClick(payload);
    DecodeNodeIdentity(std::span(reinterpret_cast<const uint8_t*>(in.all.data()), in.all.size()));
    ParseIpv4(payload);
}

// The main project file in both layouts; the rung rebuild is called once per rung, in order.
void projectFile(Input in) {
    static auto store = std::make_unique<ProgramStore>();
    const bool tagged = programFileVersion(in.all) == "1.8";
    for (bool t : {tagged, !tagged}) {
        store->Sections[0].RungCount = 0; // appended rungs are reset one by one by the reader
        SetLayout layout{t, 0};
        LoadReport report;
        int rebuilt = 0;
        readProgramFile(
            in.all, layout, *store,
            [&](int16_t rung) {
                if (rung < 1 || rung > MaxRungs || rung != store->Sections[0].RungCount) __builtin_trap();
                ++rebuilt;
            },
            report);
        if (store->Sections[0].RungCount > MaxRungs || rebuilt != store->Sections[0].RungCount)
            __builtin_trap();
    }
}

// A MAC list file and an FTP listing; what the list gave writes back to records that read the same way.
void macList(Input in) {
    MacListRead read = readMacList(in.all);
    MacListRead again = readMacList(writeMacList(read.entries));
    if (again.entries.size() != read.entries.size() && !read.badRecord) __builtin_trap();
    splitFtpListing(in.all);
}

// The memory-image text file, for any count of values asked for.
void memoryImage(Input in) {
    const size_t count = size_t{in.selector} * 32;
    auto values = ParseMemoryImageText(std::string(in.text), count);
    if (values && values->size() != count) __builtin_trap();
}

// The records the project-set readers fill are big: each goes on the heap for one run.
template <class T> std::unique_ptr<T> heap() {
    return std::make_unique<T>();
}

std::span<const uint8_t> bytes(std::string_view text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// A file of the input's bytes, in a folder of this process, for the readers that take a path.
std::string inputFile(std::string_view content, const char* name) {
    static const std::string folder = [] {
        std::string dir = "/tmp/melqo-fuzz-" + std::to_string(getpid());
        std::filesystem::create_directories(dir);
        return dir;
    }();
    const std::string path = folder + "/" + name;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    return path;
}

// The settings file, read from a folder of its own like the program does.
void settingsFile(Input in) {
    const std::string path = inputFile(in.all, std::string(SettingsFileName).c_str());
    static auto shell = [] {
        auto s = std::make_unique<ShellState>();
        InitModelli(s->Models, s->ModelNames);
        return s;
    }();
    DeviceRecord device;
    LeggiSettings(*shell, device, std::filesystem::path(path).parent_path().string());
    if (shell->Language > 1 || device.ModelIndex > DefaultModelIndex) __builtin_trap();
}

// The replies of the bench instruments: the multimeter's reading, the supply's current and the
// calibrator's byte answers (one input byte per byte sent) to the reference temperature and a value.
void instrumentReply(Input in) {
    struct Bench {
        FakeSerialPort relay, mult, supply, calibrator;
        InstrumentPorts ports{relay, mult, supply, calibrator};
        InstantPump pump;
        FakeDialogs dialogs;
        Log log;
        BenchInstruments instruments{ports, pump, dialogs, log};
        std::string_view reply;
    };
    static auto bench = [] {
        auto b = std::make_unique<Bench>();
        b->ports.Seriale_calib.Number = 9;
        for (InstrumentPort* port : {&b->ports.Seriale_mult, &b->ports.Seriale_alim, &b->ports.Seriale_calib})
            port->open({});
        auto whole = [r = &b->reply](const std::string&) { return std::string(std::exchange(*r, {})); };
        b->mult.respond = whole;
        b->supply.respond = whole;
        b->calibrator.respond = [r = &b->reply](const std::string&) {
            std::string one(r->substr(0, 1));
            r->remove_prefix(one.size());
            return one;
        };
        return b;
    }();
    bench->reply = in.text;
    bench->log.LogClear();
    switch (in.selector % 4) {
    case 0:
        bench->instruments.GetMult();
        break;
    case 1:
        bench->instruments.ReadAlimCurr();
        break;
    case 2:
        bench->instruments.GetTamb();
        break;
    default:
        bench->instruments.PutCalVal(double(in.selector) * 1.5);
        break;
    }
}

// A measurement answer of the four-channel input modules and their K constants.
void measurement(Input in) {
    DecodeMeasurement(bytes(in.all));
    if (in.all.size() >= 4) DecodeSlotK(bytes(in.all).first<4>());
}

// An energy-meter block answer, for the block the first byte picks.
void energyMeter(Input in) {
    const auto& blocks = EnergyMeterBlocks();
    auto rows = DecodeBlock(blocks[in.selector % blocks.size()], bytes(in.text));
    if (rows && rows->size() != blocks[in.selector % blocks.size()].values()) __builtin_trap();
}

// The bench's COM-port map ("3=/dev/pts/4,7=/dev/ttyUSB3").
void comPorts(Input in) {
    const ComDevices devices = ParseComDevices(std::string(in.all));
    for (const auto& [number, path] : devices)
        if (number <= 0 || path.empty()) __builtin_trap();
    ComDevice(devices, in.selector);
}

// The project's ".img" file, and the pictures its bitmaps show.
void imageFile(Input in) {
    auto images = heap<ImageTable>();
    LoadReport report;
    readImageFile(in.all, *images, report);
    for (int i = 0; i < std::min<int>(images->Count, int(images->Images.size())); ++i)
        bitmapPicture(images->Images[size_t(i)]);
}

// A PNG or BMP file through the image import, up to the image table.
void picture(Input in) {
    static auto table = heap<ImageTable>();
    static int16_t modified = 0;
    static FakeDialogs dialogs;
    auto read = readMonoPicture(inputFile(in.all, "picture"));
    if (!read) return;
    const bool small = read->width <= MaxImageSide && read->height <= MaxImageSide;
    if (read->dark.size() != (small ? size_t(read->width) * size_t(read->height) : 0)) __builtin_trap();
    clearImages(*table);
    ImageEditor(*table, modified, dialogs).addImage("picture", *read);
}

struct Reader {
    std::string_view name;
    void (*run)(Input);
};

using RegisterArray = std::array<RegisterRecord, RegisterCount>;

constexpr Reader Readers[] = {
    {"modbus_answer", modbusAnswer},
    {"search_reply", searchReply},
    {"prj_reader", projectFile},
    {"settings", settingsFile},
    {"instrument_reply", instrumentReply},
    {"measurement", measurement},
    {"energy_meter", energyMeter},
    {"com_ports", comPorts},
    {"img", imageFile},
    {"picture", picture},
    {"mac_list", macList},
    {"memory_image", memoryImage},
    {"csv_table", [](Input in) { readTableFile(in.all, *heap<LookupTable>()); }},
    {"lst",
     [](Input in) { readRegisterFile(in.text, in.mode(), *heap<RegisterArray>(), in.model(), in.report); }},
    {"str",
     [](Input in) { readStringFile(in.text, in.mode(), *heap<StringTable>(), in.model(), in.report); }},
    {"blk",
     [](Input in) { readBlockFile(in.text, in.layout(), *heap<TextBlockTable>(), in.model(), in.report); }},
    {"wtc", [](Input in) { readWatchFile(in.text, in.mode(), *heap<WatchList>(), in.report); }},
    {"fmt", [](Input in) { readVariableFile(in.text, in.mode(), *heap<VariableTable>(), in.report); }},
    // The loads of these three go on with the pages, the display compile and the task compile.
    {"ptb",
     [](Input in) {
         auto tables = std::make_unique<LookupTableArray>();
         readTablesFile(in.text, in.mode(), *tables, in.report);
         AllocaTabelle(*tables);
     }},
    {"dsp",
     [](Input in) {
         auto pages = std::make_unique<DisplayPageArray>();
         readDisplayFile(in.text, in.layout(), *pages, in.report);
         frm_display::CompilaOggetti(*pages, *heap<ProgramStore>());
     }},
    {"skd",
     [](Input in) {
         auto tasks = std::make_unique<TaskArray>();
         readTaskFile(in.text, in.layout(), *tasks, in.report);
         frm_scheduler::CompilaOggetti(*tasks);
     }},
};

constexpr auto This = std::ranges::find(Readers, std::string_view(MELQO_FUZZ_READER), &Reader::name);
static_assert(This != std::end(Readers), "MELQO_FUZZ_READER names no reader");

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    This->run(Input(std::string_view(reinterpret_cast<const char*>(data), size)));
    return 0;
}
