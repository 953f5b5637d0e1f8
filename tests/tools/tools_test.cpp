// The tools without their windows, each against a simulated controller reached over Modbus TCP on
// loopback, with the English texts and the default model's register names.
#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>
#include <unistd.h>

#include "comm/register_map.h"
#include "core/build_flags.h"
#include "core/busy_run.h"
#include "core/language.h"
#include "core/value_type_codes.h"
#include "platform/qt_link_port.h"
#include "program/transfer/file_output.h"
#include "program/transfer/memory_image_text.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"
#include "tools/memory_tool.h"
#include "tools/multi_sock.h"
#include "tools/register_read.h"
#include "tools/register_value_text.h"
#include "tools/register_view.h"
#include "tools/value_entry.h"
#include "tools/watch_view.h"

namespace fs = std::filesystem;

namespace {

class ToolFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        CaricaRisorse(*s.shell, 1);
        MappaRegistri(s.app, false);
        s.comm->CurrentDevice.LinkTimeout = 300;
        ASSERT_TRUE(s.connectTcp(sim.startTcp()));
        sim.clearTranscript();
        s.shell->log.LogClear();
    }
    // The next n requests are answered as usual.
    void pass(int n) {
        for (int i = 0; i < n; ++i)
            sim.inject({SimFault::Delay, 0});
    }
    bool logged(const std::string& line) const {
        const auto& l = s.shell->log.lines();
        return std::find(l.begin(), l.end(), line + "  ") != l.end();
    }

    SimController sim{10};
    SimSession s;
};

// The memory tool: a range typed as hex addresses goes to a file and back, the file and the device
// memory unchanged by the round trip, with the progress bar's values; bad ranges send nothing.
struct Bar : ProgressBar {
    int maximum() const override { return 100; }
    void setValue(int v) override { values.push_back(v); }
    std::vector<int> values;
};

class MemoryToolTest : public ToolFixture {
  protected:
    void TearDown() override { fs::remove_all(dir); }
    std::string read(const char* name) {
        std::string text;
        ReadWholeFile((dir / name).string(), text);
        return text;
    }
    fs::path dir = fs::temp_directory_path() / ("melqo_eeprom_" + std::to_string(::getpid()));
    bool made = fs::create_directories(dir);
    MemoryTool tool{s.app};
    Bar bar;
    TransferView view{&bar, nullptr};
};

TEST_F(MemoryToolTest, BadRangesAreRefusedAndARangeRoundTripLeavesFileAndMemoryIdentical) {
    for (auto [from, to] : {std::pair{"A0", "40"}, {"0", "10000"}, {"-1", "40"}, {"", "40"}, {"4x", "40"}}) {
        EXPECT_FALSE(MemoryTool::byteRange(from, to)) << from << " " << to;
        EXPECT_FALSE(tool.download(view, from, to));
    }
    const auto whole = MemoryTool::byteRange("0", "FFFF");
    EXPECT_EQ((std::pair{whole->first, whole->size()}), (std::pair{0, 65536}));
    EXPECT_TRUE(sim.transcript().empty());

    Bytes data(96);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = uint8_t(i * 13 + 1);
    sim.setMemory(0x40, data);
    s.dialogs.files = {(dir / "a.hex").string(), (dir / "a.hex").string(), (dir / "b.hex").string()};
    EXPECT_TRUE(tool.upload(view, "41", "9f")); // blocks 2, 3 and 4
    EXPECT_EQ(bar.values, (std::vector<int>{33, 67, 100}));
    EXPECT_EQ(read("a.hex"), FormatMemoryImageText(Bytes(data.begin() + 1, data.end())));
    sim.setMemory(0x40, Bytes(96, 0));
    EXPECT_TRUE(tool.download(view, "41", "9F"));
    Bytes written = data;
    written[0] = 0; // 0040 lies outside the range
    EXPECT_EQ(sim.memory(0x40, 96), written);
    EXPECT_TRUE(tool.upload(view, "41", "9F"));
    EXPECT_EQ(read("a.hex"), read("b.hex"));

    // A file that cannot be written is named with the reason, and the upload is not logged as successful.
    const std::string nowhere = (dir / "none" / "c.hex").string();
    s.dialogs.files = {nowhere};
    s.shell->log.LogClear();
    EXPECT_FALSE(tool.upload(view, "41", "9F"));
    EXPECT_EQ(s.dialogs.shown.back(), "Upload Failed: " + nowhere + ": No such file or directory");
    EXPECT_TRUE(logged("Upload Failed"));
    EXPECT_FALSE(logged("Upload Successful"));
}

// Only the typed bytes change: a block the range covers in part is read, changed and written back whole.
// A file must hold exactly the range's values; a refusal says why and sends nothing.
TEST_F(MemoryToolTest, ExactlyTheTypedRangeIsWrittenAndAFileMustHoldItsValues) {
    const Bytes old(64, 0xEE);
    const auto file = [&](const char* name, size_t values) {
        const std::string path = (dir / name).string();
        WriteWholeFile(path, FormatMemoryImageText(Bytes(values, 7)));
        return path;
    };
    const struct {
        const char *from, *to;
        size_t values;
        bool written;
        size_t requests; // reads of partly covered blocks, then the writes
    } cases[] = {
        {"0000", "000F", 16, true, 2}, {"0000", "001F", 32, true, 1},  {"001E", "0021", 4, true, 4},
        {"0005", "0006", 2, true, 2},  {"0000", "000F", 15, false, 0}, {"0000", "000F", 17, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.from) + "-" + c.to + " " + std::to_string(c.values));
        sim.setMemory(0, old);
        sim.clearTranscript();
        s.dialogs.shown.clear();
        s.dialogs.files = {file("in.hex", c.values)};
        EXPECT_EQ(tool.download(view, c.from, c.to), c.written);
        EXPECT_EQ(sim.transcript().size(), c.requests);
        Bytes expected = old;
        const auto range = *MemoryTool::byteRange(c.from, c.to);
        if (c.written) std::fill_n(expected.begin() + range.first, range.size(), uint8_t{7});
        EXPECT_EQ(sim.memory(0, 64), expected);
        EXPECT_EQ(s.dialogs.shown.size(), c.written ? 0u : 1u);
        if (!c.written) {
            EXPECT_EQ(s.dialogs.shown[0], "Download Failed: " + (dir / "in.hex").string() +
                                              " does not hold 16 values from 0 to 255, one per line, for the "
                                              "addresses typed");
        }
    }
    // Two values read from 0005 go back to 0005 from their file.
    sim.setMemory(5, {1, 2});
    s.dialogs.files = {(dir / "two.hex").string(), (dir / "two.hex").string()};
    EXPECT_TRUE(tool.upload(view, "5", "6"));
    EXPECT_EQ(read("two.hex"), FormatMemoryImageText(Bytes{1, 2}));
    sim.setMemory(0, old);
    EXPECT_TRUE(tool.download(view, "5", "6"));
    EXPECT_EQ(sim.memory(4, 4), (Bytes{0xEE, 1, 2, 0xEE}));
}

// The multi-connection scan: two simulated controllers on two ports, one of them silent, and typed
// devices refused when their address, port or node is not valid.
using MultiSockTest = ToolFixture;

TEST_F(MultiSockTest, RefusesInvalidDevicesScansEachOtherAndReportsTheSilentOne) {
    QtLinkPort link;
    MultiSock scan{s.app, link};
    s.shell->Models[3].ModelCode = "1A0F";
    s.shell->Models[3].ModelName = "Alpha";
    SimController second{7};
    second.setIdentification(0x01, 0x0A, 0x00, 0x0F);
    second.setRunStatus(0xFF);
    second.setZeroTransactionId(true); // known from its first answer, whatever the silent one left
    const uint16_t secondPort = second.startTcp();
    for (auto [ip, port, node] : {std::array{"127.0.0", "502", "1"},
                                  {"127.0.0.256", "502", "1"},
                                  {"127.0.0.1", "0", "1"},
                                  {"127.0.0.1", "502", "256"}})
        EXPECT_FALSE(scan.add(ip, port, node)) << ip << " " << port << " " << node;
    EXPECT_TRUE(scan.Devices.empty());
    sim.inject({SimFault::Silence});
    ASSERT_TRUE(scan.add("127.0.0.1", std::to_string(uint16_t(s.comm->CurrentDevice.Port)), "10"));
    ASSERT_TRUE(scan.add("127.0.0.1", std::to_string(secondPort), "7"));
    scan.scan();
    ASSERT_EQ(scan.Devices.size(), 2u);
    EXPECT_EQ(scan.Devices[0].Result, "No answer");
    EXPECT_EQ(scan.Devices[1].Result, "OK");
    EXPECT_EQ(scan.Devices[1].Model, "Alpha");
    EXPECT_EQ(scan.Devices[1].RunState, "Run");
    EXPECT_EQ(second.transcript(), (std::vector<Bytes>{{7, 4, 0, 1, 0, 2}, {7, 4, 0, 0, 0, 1}}));
    EXPECT_TRUE(s.comm->CurrentDevice.Connected); // the current device's link is left alone
    EXPECT_EQ(s.comm->PollBusy, 0);
}

// The register view without its window: rows drawn from the register table, the shown registers read
// from the simulated controller in one request, and scrolling.
class RegisterViewTest : public ToolFixture {
  protected:
    void SetUp() override {
        ToolFixture::SetUp();
        view.onChanged = [this] { ++redraws; };
        view.load = [this] { ++loads; };
    }
    RegisterView view{s.app};
    int redraws = 0, loads = 0;
};

TEST_F(RegisterViewTest, ReadsTheShownRegistersInOneRequestAndShowsThemByTypeOrKeepsThemOnAFailure) {
    view.AggiornaRegistri_new(false); // without a read nothing is sent
    EXPECT_TRUE(sim.transcript().empty());
    EXPECT_EQ(view.Rows.size(), 16u);
    view.setVisibleRows(4);
    view.setFirstRegister(8);
    sim.setInput(8, 0x0005);
    sim.setInput(9, 0x00A0);
    sim.setInput(10, 0x8001);
    sim.setInput(11, 0xFFFF);
    s.comm->Registers[11].ValueType = 1; // shown as Int
    view.AggiornaRegistri_new(true);
    EXPECT_EQ(sim.transcript(), (std::vector<Bytes>{{10, 4, 0, 8, 0, 4}}));
    ASSERT_EQ(view.Rows.size(), 4u);
    EXPECT_EQ(view.Rows[2].Register, 10);
    EXPECT_EQ(view.Rows[2].Label, "%R10");
    EXPECT_EQ(view.Rows[2].Name, s.comm->Registers[10].Name);
    EXPECT_EQ(view.Rows[2].Value, registerValueText(0x8001, s.comm->Registers[10].ValueType));
    EXPECT_EQ(view.Rows[3].Value, "-1");
    EXPECT_EQ(view.Rows[3].Type, "Int");
    EXPECT_EQ(s.comm->Registers[10].Value, 0x8001);
    EXPECT_EQ(loads, 2);

    // A failed read keeps the values and still redraws.
    sim.setInput(10, 5);
    sim.inject({SimFault::Exception, 0, 2});
    const int before = redraws;
    view.AggiornaRegistri_new(true);
    EXPECT_EQ(s.comm->Registers[10].Value, 0x8001);
    EXPECT_GT(redraws, before);
    EXPECT_EQ(s.shell->log.lines().back(), "Error  ");
}

// The view lists the model's registers and no row past them, for a model with more registers than the
// window shows and for one with fewer.
TEST_F(RegisterViewTest, ScrollingStopsAtTheModelsLastRegisterAndValuesFollowTheirType) {
    const int count = s.app.model().NumRegisters;
    ASSERT_GT(count, 10);
    view.setVisibleRows(10);
    view.setFirstRegister(5000);
    EXPECT_EQ(view.firstRegister(), count - 10);
    EXPECT_EQ(view.Rows.back().Register, count - 1);
    view.setFirstRegister(-3);
    EXPECT_EQ(view.firstRegister(), 0);
    s.shell->Models[s.comm->CurrentDevice.ModelIndex].NumRegisters = 6;
    view.setFirstRegister(3);
    EXPECT_EQ((std::pair{view.firstRegister(), view.Rows.size()}), (std::pair{0, size_t{6}}));
    view.setVisibleRows(1000); // no more than one read brings
    EXPECT_EQ(view.visibleRows(), 125);
    EXPECT_EQ(registerValueText(0x1234, 0), "4660");
    EXPECT_EQ(registerValueText(0xFFFE, 1), "-2");
    EXPECT_EQ(registerValueText(0x1234, 7), "1234");
    EXPECT_EQ(registerValueText(0x4142, 8), "BA");
    EXPECT_EQ(registerValueText(0x8001, 9), "10000000 00000001");
    EXPECT_EQ(registerValueText(-70000, 3), "-70000");
    EXPECT_EQ(registerValueText(-2, KindULong), "4294967294");
    EXPECT_EQ(registerValueText(0x3FC00000, KindFloat), "1.5");
}

// Value entry per type against the simulated controller: what reaches the registers, and values
// outside the type's range refused with nothing sent.
using ValueEntryTest = ToolFixture;

TEST_F(ValueEntryTest, WritesEachTypeAndRefusesValuesOutOfRange) {
    struct Case {
        uint8_t type;
        const char* text;
        std::vector<uint16_t> registers; // holding 20, 21 afterwards; empty: refused
    };
    // clang-format off
    const Case cases[] = {
        {KindInt, "-2", {0xFFFE, 0}}, {KindInt, "-32769", {}}, {KindInt, "1.5", {}},
        {KindUInt, " 65535 ", {0xFFFF, 0}}, {KindUInt, "65536", {}}, {KindUInt, "-1", {}},
        {KindLong, "-70000", {0xEE90, 0xFFFE}}, {KindLong, "2147483648", {}},
        {KindULong, "4294967295", {0xFFFF, 0xFFFF}}, {KindULong, "-1", {}},
        {KindFloat, "1,5", {0x0000, 0x3FC0}}, {KindFloat, "1e39", {}}, {KindFloat, "nan", {}},
        {KindHex, "BEEF", {0xBEEF, 0}}, {KindHex, "10000", {}}, {KindBin, "101", {5, 0}}, {KindBin, "12", {}},
        {KindAscii, "AB", {0x4241, 0}}, {KindAscii, "ABC", {}},
    };
    // clang-format on
    ValueEntry entry(s.app);
    entry.Register = 20;
    for (const Case& c : cases) {
        sim.setHolding(20, 0);
        sim.setHolding(21, 0);
        sim.clearTranscript();
        entry.ValueType = c.type;
        EXPECT_EQ(entry.write(c.text), !c.registers.empty()) << c.text;
        if (c.registers.empty())
            EXPECT_TRUE(sim.transcript().empty()) << c.text;
        else
            EXPECT_EQ((std::vector<uint16_t>{sim.holding(20), sim.holding(21)}), c.registers) << c.text;
    }
}

// Long, ULong and K_Long values typed in the value entry read back the same through the watch (the
// controller reads its registers with function 4 as it writes them with function 16).
TEST_F(ValueEntryTest, LongValuesReadBackThroughTheWatchAsTyped) {
    ValueEntry entry(s.app);
    WatchView watch(s.app);
    entry.Register = 20;
    watch.add(20);
    for (auto [type, text] : {std::pair{KindLong, "100000"},
                              {KindLong, "-70000"},
                              {KindULong, "4000000000"},
                              {KindKLong, "-2147483648"},
                              {KindKLong, "65536"}}) {
        entry.ValueType = type;
        ASSERT_TRUE(entry.write(text)) << text;
        for (uint16_t r : {20, 21})
            sim.setInput(r, sim.holding(r));
        s.comm->Registers[20].ValueType = type;
        s.comm->Registers[20].Value = 0; // what the watch shows comes from the read
        ASSERT_TRUE(watch.refresh());
        EXPECT_EQ(watch.Rows[0].Value, text);
    }
}

// The watch list against the simulated controller: its choices, its limits, and the refresh loop
// that reads every watched register until the peer falls silent.
class WatchTest : public ToolFixture {
  protected:
    WatchView view{s.app};
};

TEST_F(WatchTest, ChoicesSkipReservedRegistersAndTheListKeepsEachRegisterOnce) {
    view.SetRes();
    ASSERT_FALSE(view.Choices.empty());
    // 0 is reserved on this model, which only the internal edition programs (then 0 is its run flag)
    EXPECT_EQ(view.Choices[0].Text, BuildInternal ? "[%R0] RUN" : "[%R1] " + s.comm->Registers[1].Name);
    for (const auto& c : view.Choices)
        EXPECT_EQ(c.Text.find("--Reserved--"), std::string::npos);
    EXPECT_TRUE(view.add(5));
    EXPECT_FALSE(view.add(5));
    EXPECT_FALSE(view.add(RegisterCount));
    for (int r = 6; r < 105; ++r)
        view.add(r);
    EXPECT_EQ(s.project->Watch[0], 100);
    view.remove(0);
    EXPECT_EQ(s.project->Watch[1], 6);
    EXPECT_EQ(s.project->Watch[0], 99);
}

TEST_F(WatchTest, RefreshesTwoRegistersUntilThePeerIsSilentButNotWhileAnotherLoopOrARunIsUnderWay) {
    view.add(5);
    view.add(7);
    s.comm->Registers[7].ValueType = 1; // shown as Int
    sim.setInput(5, 42);
    sim.setInput(7, 0xFFFE);
    s.comm->PollBusy = 1; // another loop runs: refused
    view.start();
    EXPECT_TRUE(sim.transcript().empty());
    EXPECT_TRUE(logged("Request refused: a polling loop is running"));
    s.comm->PollBusy = 0;
    {
        const BusyRun download(s.app, "a download"); // between the requests of a run: refused too
        view.start();
    }
    EXPECT_TRUE(sim.transcript().empty());
    EXPECT_TRUE(logged("Request refused: a download is under way"));
    pass(2); // two passes, then silence
    sim.inject({SimFault::Silence});
    view.start();
    const Bytes read5to7{10, 4, 0, 5, 0, 3};
    EXPECT_EQ(sim.transcript(), (std::vector<Bytes>{read5to7, read5to7, read5to7}));
    ASSERT_EQ(view.Rows.size(), 2u);
    EXPECT_EQ(view.Rows[0].Value, "42");
    EXPECT_EQ(view.Rows[1].Value, "-2");
    EXPECT_FALSE(view.running());
    EXPECT_EQ(s.comm->PollBusy, 0);
    EXPECT_EQ(s.comm->PollStop, 1);
    EXPECT_TRUE(logged("Watch stopped"));
}

// Watched registers are read in blocks, gaps of up to 9 registers read along, at most 125 to a request,
// whatever their order in the list; a register of a 32-bit type brings its partner and shows the pair's
// value.
TEST_F(WatchTest, ContiguousRegistersAreReadInBlocksAndPairsShowTheirType) {
    const struct {
        std::vector<int> regs;
        std::vector<Bytes> requests;
    } cases[] = {
        {{12, 10, 11, 30}, {{10, 4, 0, 10, 0, 3}, {10, 4, 0, 30, 0, 1}}},
        {{30, 32, 42}, {{10, 4, 0, 30, 0, 13}}},                      // gaps of 1 and 9 registers read along
        {{30, 32, 43}, {{10, 4, 0, 30, 0, 3}, {10, 4, 0, 43, 0, 1}}}, // a gap of 10 costs more
    };
    for (const auto& c : cases) {
        s.project->Watch[0] = 0;
        for (int r : c.regs)
            view.add(r);
        sim.clearTranscript();
        EXPECT_TRUE(view.refresh());
        EXPECT_EQ(sim.transcript(), c.requests);
    }
    EXPECT_EQ(registerBlocks(s.app, std::vector<int>{0, 1, 2}).size(), 1u);
    std::vector<int> many(130);
    std::iota(many.begin(), many.end(), 100);
    const auto blocks = registerBlocks(s.app, many);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ((std::tuple{blocks[1].first, blocks[1].count}), (std::tuple{225, 5}));

    // A Float in 40-41 (1.5: low word first) and a Long in 50-51, the registers between read along.
    s.project->Watch[0] = 0;
    view.add(40);
    view.add(50);
    s.comm->Registers[40].ValueType = KindFloat;
    s.comm->Registers[50].ValueType = KindLong;
    sim.setInput(40, 0x0000);
    sim.setInput(41, 0x3FC0);
    sim.setInput(50, 0xFFFE);
    sim.setInput(51, 0xFFFF);
    sim.clearTranscript();
    EXPECT_TRUE(view.refresh());
    EXPECT_EQ(sim.transcript(), (std::vector<Bytes>{{10, 4, 0, 40, 0, 12}}));
    EXPECT_EQ(view.Rows[0].Value, "1.5");
    EXPECT_EQ(view.Rows[1].Value, "-2");
}

// 100 registers, every other one, take two requests; the registers read along keep their values. A
// device that refuses a request spanning registers nobody asked for is read in adjacent blocks, from then
// on without asking again, and the refusal neither stops the loop nor asks the user anything.
TEST_F(WatchTest, GapsAreReadAlongUnlessTheDeviceRefusesThem) {
    ASSERT_GE(modelRegisterCount(s.app), 300);
    for (int i = 0; i < 100; ++i) {
        view.add(100 + 2 * i);
        sim.setInput(uint16_t(100 + 2 * i), uint16_t(i + 1));
    }
    s.comm->Registers[101].Value = 77;
    EXPECT_TRUE(view.refresh());
    EXPECT_EQ(sim.transcript(), (std::vector<Bytes>{{10, 4, 0, 100, 0, 125}, {10, 4, 0, 226, 0, 73}}));
    EXPECT_EQ((std::tuple{view.Rows[0].Value, view.Rows[99].Value}), (std::tuple{"1", "100"}));
    EXPECT_EQ(s.comm->Registers[101].Value, 77);

    s.project->Watch[0] = 0;
    for (int r : {10, 12, 13, 20})
        view.add(r);
    sim.setInput(13, 5);
    s.comm->PollStop = 0;
    sim.clearTranscript();
    sim.inject({SimFault::Exception, 0, 2});
    const std::vector<Bytes> parts{{10, 4, 0, 10, 0, 1}, {10, 4, 0, 12, 0, 2}, {10, 4, 0, 20, 0, 1}};
    std::vector<Bytes> expected{{10, 4, 0, 10, 0, 11}};
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_TRUE(view.refresh());
        expected.insert(expected.end(), parts.begin(), parts.end());
        EXPECT_EQ(sim.transcript(), expected);
    }
    EXPECT_EQ(view.Rows[2].Value, "5");
    EXPECT_EQ(s.comm->PollStop, 0);
    EXPECT_TRUE(s.dialogs.shown.empty());
    EXPECT_TRUE(logged("Registers 10 to 20 refused in one request: read in smaller blocks"));
}

// A pair split over two blocks whose second request fails keeps its value rather than showing its low word.
TEST_F(WatchTest, APairSplitOverAFailedBlockKeepsItsValue) {
    ASSERT_GT(modelRegisterCount(s.app), 126);
    std::vector<int> regs(125);
    std::iota(regs.begin(), regs.end(), 0);
    s.comm->Registers[124].ValueType = KindLong;
    s.comm->Registers[124].Value = 7;
    sim.setInput(123, 9);
    sim.setInput(124, 0xFFFE);
    sim.inject({SimFault::Delay, 0});
    sim.inject({SimFault::Exception, 0, 2});
    EXPECT_FALSE(readRegisters(s.app, regs));
    EXPECT_EQ(sim.transcript(), (std::vector<Bytes>{{10, 4, 0, 0, 0, 125}, {10, 4, 0, 125, 0, 1}}));
    EXPECT_EQ(s.comm->Registers[123].Value, 9);
    EXPECT_EQ(s.comm->Registers[124].Value, 7);
}

} // namespace
