// The memory tool: a range typed as hex addresses goes to a file and back, the file and the device
// memory unchanged by the round trip, with the progress bar's values; bad ranges send nothing.
#include <filesystem>
#include <unistd.h>

#include "program/transfer/file_output.h"
#include "tool_fixture.h"
#include "tools/memory_tool.h"

namespace fs = std::filesystem;

namespace {

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
        EXPECT_FALSE(MemoryTool::blockRange(from, to)) << from << " " << to;
        EXPECT_FALSE(tool.download(view, from, to));
    }
    EXPECT_EQ(MemoryTool::blockRange("0", "FFFF"), (std::pair<int16_t, int16_t>{0, 2048}));
    EXPECT_TRUE(sim.transcript().empty());

    Bytes data(96);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = uint8_t(i * 13 + 1);
    sim.setMemory(0x40, data);
    s.dialogs.files = {(dir / "a.hex").string(), (dir / "a.hex").string(), (dir / "b.hex").string()};
    EXPECT_TRUE(tool.upload(view, "41", "9f")); // blocks 2, 3 and 4
    EXPECT_EQ(bar.values, (std::vector<int>{0, 33, 67}));
    sim.setMemory(0x40, Bytes(96, 0));
    std::fill(tool.files.FileImageBuffer.begin(), tool.files.FileImageBuffer.end(), uint8_t{0});
    EXPECT_TRUE(tool.download(view, "40", "9F"));
    EXPECT_EQ(sim.memory(0x40, 96), data);
    EXPECT_EQ(sim.memory(0x20, 32), Bytes(32, 0));
    EXPECT_TRUE(tool.upload(view, "40", "9F"));
    const std::string file = read("a.hex");
    EXPECT_EQ(file, read("b.hex"));
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 96);
}

} // namespace
