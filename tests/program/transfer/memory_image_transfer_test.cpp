// DownloadHex and UploadHex against the simulated controller: file round trip, the per-block retry,
// malformed files, the file each upload may write, and the memory tool's progress bar; the text form.
#include <filesystem>
#include <QDir>
#include <QTemporaryDir>

#include "comm/device_procedures.h"
#include "core/file_read.h"
#include "program/transfer/file_output.h"
#include "program/transfer/memory_image_text.h"
#include "program/transfer/memory_image_transfer.h"
#include "transfer_fixture.h"

namespace fs = std::filesystem;

namespace {

class MemoryImageTest : public DeviceFixture {
  protected:
    std::string path(const char* name) const { return tmp.filePath(name).toStdString(); }
    static std::string read(const std::string& p) {
        std::string s;
        ReadWholeFile(p, s);
        return s;
    }
    static Bytes pattern(size_t n, uint8_t seed) {
        Bytes b(n);
        for (size_t i = 0; i < n; ++i)
            b[i] = uint8_t(seed + i * 7);
        return b;
    }

    QTemporaryDir tmp;
    MemoryImageFiles files;
    RecordingBar bar{100};
    TransferView view{&bar, nullptr};
};

} // namespace

TEST_P(MemoryImageTest, UploadThenDownloadRoundTripsThroughTheTextFileWithOneRetriedBlock) {
    sim.setMemory(0, pattern(128, 3));
    dialogs.files.push_back(path("mem.hex"));
    UploadHex(app, view, files, 0, 4, true, 0);
    EXPECT_EQ(transferLog(), (Lines{"Uploading ...", "Upload Successful"}));
    std::string text = read(path("mem.hex"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 128);
    EXPECT_EQ(text.substr(0, 11), " 3 \r\n 10 \r\n");
    EXPECT_EQ(bar.values, (std::vector<int>{0, 25, 50, 75}));

    sim.setMemory(0, Bytes(128, 0));
    sim.clearTranscript();
    shell.log.LogClear();
    std::fill(files.FileImageBuffer.begin(), files.FileImageBuffer.begin() + 128, uint8_t{0});
    dialogs.files.push_back(path("mem.hex"));
    failRequestAfter(1); // block 1 fails once and goes through on the retry
    EXPECT_TRUE(DownloadHex(app, view, files, 0, 4, true));
    EXPECT_EQ(sim.memory(0, 128), pattern(128, 3));
    auto t = sim.transcript();
    ASSERT_EQ(t.size(), 5u);
    EXPECT_EQ(t[1], t[2]); // the retry is the same request, built again
    EXPECT_EQ(t[2], memoryWrite(32, slice(pattern(128, 3), 32, 32)));
    EXPECT_EQ(transferLog(), (Lines{"Downloading ...", "Com Error", "Download Successful"}));
}

TEST_P(MemoryImageTest, FailuresOfTheDownloadAndRangesThatSendNothing) {
    EXPECT_FALSE(DownloadHex(app, view, files, 0, 2, true)); // the open dialog is cancelled: silently
    EXPECT_TRUE(shell.log.lines().empty());
    EXPECT_TRUE(DownloadHex(app, view, files, 3, 3, false));
    dialogs.files = {path("empty.hex"), path("raw.hex")};
    UploadHex(app, view, files, 3, 3, true, 0);
    UploadHex(app, view, files, 3, 3, true, 1);
    EXPECT_EQ(read(path("empty.hex")), "");
    EXPECT_EQ(read(path("raw.hex")), "\r\n");
    shell.log.LogClear();
    ASSERT_TRUE(WriteWholeFile(path("short.hex"), " 1 \r\n")); // malformed: refused before sending
    dialogs.files.push_back(path("short.hex"));
    EXPECT_FALSE(DownloadHex(app, view, files, 0, 2, true));
    std::filesystem::resize_file(path("short.hex"), MaxReadFileSize + 1); // never taken into memory
    dialogs.files.push_back(path("short.hex"));
    EXPECT_FALSE(DownloadHex(app, view, files, 0, 2, true));
    EXPECT_FALSE(DownloadHex(app, view, files, 2040, 2049, false)); // beyond sixteen-bit addresses
    UploadHex(app, view, files, -1, 2, true, 0);
    const std::string failed = "Download Failed: " + path("short.hex") + ": ";
    EXPECT_EQ(transferLog(), (Lines{failed + "it does not hold one byte value per address of the range",
                                    failed + "larger than 16 MB", "Downloading ...", "Download Failed",
                                    "Uploading ...", "Upload Failed"}));
    EXPECT_TRUE(sim.transcript().empty());
    failRequestAfter(0); // a block failing twice ends the download
    sim.inject({SimFault::Exception, 0, 4});
    EXPECT_FALSE(DownloadHex(app, view, files, 2, 6, false));
    EXPECT_EQ(sim.transcript().size(), 2u);
    EXPECT_EQ(transferLog().back(), "Download Failed");
}

TEST_P(MemoryImageTest, UploadsWriteRawBytesOrTheLastChosenFileAndNothingWhenTheyFail) {
    project.CurrentFilePath = path("project.prj");
    ASSERT_TRUE(WriteWholeFile(project.CurrentFilePath, "project"));
    UploadHex(app, view, files, 0, 1, false, 0); // no memory-image file chosen yet: nothing written
    EXPECT_EQ(QDir(tmp.path()).count(), 3u);     // ".", ".." and the project
    shell.log.LogClear();
    sim.clearTranscript();
    sim.inject({SimFault::Exception, 0, 4});
    dialogs.files.push_back(path("never.hex"));
    UploadHex(app, view, files, 0, 2, true, 0);
    EXPECT_EQ(transferLog(), (Lines{"Uploading ...", "Com Error", "Upload Failed"}));
    EXPECT_FALSE(fs::exists(path("never.hex")));
    EXPECT_EQ(dialogs.files.size(), 1u); // no dialog was offered
    shell.log.LogClear();
    dialogs.files = {path("missing/mem.hex")};
    UploadHex(app, view, files, 0, 1, true, 0);
    const std::string told = "Upload Failed: " + path("missing/mem.hex") + ": No such file or directory";
    EXPECT_EQ(transferLog(), (Lines{"Uploading ...", "Upload Successful", told}));
    EXPECT_EQ(dialogs.shown.back(), told);

    // Raw: the bytes of the range, then CR LF.
    sim.setMemory(64, pattern(32, 0xF0));
    sim.clearTranscript();
    dialogs.files.push_back(path("raw.hex"));
    UploadHex(app, view, files, 2, 3, true, 1);
    Bytes expected = pattern(32, 0xF0);
    EXPECT_EQ(read(path("raw.hex")), std::string(expected.begin(), expected.end()) + "\r\n");
    EXPECT_EQ(sim.transcript(), (std::vector<Bytes>{memoryRead(ReadMemory, 64)}));

    // Without the dialog only the last memory-image file is written, never the project.
    dialogs.files.push_back(path("first.hex"));
    UploadHex(app, view, files, 0, 1, true, 0);
    sim.setMemory(0, Bytes(32, 9));
    UploadHex(app, view, files, 0, 1, false, 0);
    EXPECT_EQ(read(path("first.hex")), FormatMemoryImageText(Bytes(32, 9)));
    EXPECT_EQ(read(project.CurrentFilePath), "project");
}

INSTANTIATE_TEST_SUITE_P(Links, MemoryImageTest, ::testing::Values(Link::Tcp, Link::Rtu), linkName);

// The text form read back: tolerant of line ends and blanks, strict on values.
TEST(MemoryImageText, RoundTripOfEveryByteValueTolerantReadingAndMalformedFilesRefusedWhole) {
    std::vector<uint8_t> all(256);
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<uint8_t>(i);
    EXPECT_EQ(ParseMemoryImageText(FormatMemoryImageText(all), 256), all);
    // LF lines and blanks are read; values beyond the count are ignored.
    EXPECT_EQ(ParseMemoryImageText("1\n 2\t\n  3  \r\n4\n", 3), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(ParseMemoryImageText("9\r\n", 0), std::vector<uint8_t>{});
    // A malformed file is refused whole.
    EXPECT_FALSE(ParseMemoryImageText(" 1 \r\n 2 \r\n", 3));    // too few values
    EXPECT_FALSE(ParseMemoryImageText("1\r\nx\r\n3\r\n", 3));   // not a number
    EXPECT_FALSE(ParseMemoryImageText("1\r\n256\r\n3\r\n", 3)); // over 255
    EXPECT_FALSE(ParseMemoryImageText("1\r\n-1\r\n3\r\n", 3));
    EXPECT_FALSE(ParseMemoryImageText("1\r\n\r\n3\r\n", 3)); // empty line
    EXPECT_FALSE(ParseMemoryImageText("1\r\n2.5\r\n3\r\n", 3));
    EXPECT_FALSE(ParseMemoryImageText("", 1));
}
