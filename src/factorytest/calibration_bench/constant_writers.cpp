// Writers of the module's memory: the EEPROM image, calibration constants and the constants blocks.
#include <algorithm>
#include <array>
#include <cmath>

#include "comm/byte_helpers.h"
#include "core/app_context.h"
#include "factorytest/calibration_bench/calibration_bench.h"
#include "program/transfer/memory_image_text.h"
#include "program/transfer/memory_image_transfer.h"
#include "project/file_io.h"

namespace {

constexpr size_t ImageItems = 2001;
constexpr int ImageBlocks = 63; // 32 bytes each: module addresses 0..2015
constexpr int BlockSize = 32;

// Bytes 9..42 of the four constants blocks (bytes 0..8 are 0); byte 11 and 12 of the second variant's
// node-247 block are set by the inputs mode.
using BlockTail = std::array<uint8_t, 34>;
constexpr std::array<BlockTail, 4> BlockTails{{
    {6, 8,  17, 17, 17, 17, 1,  1,  0,  0,  1,  2,  4,  8,  16, 32, 0,
     0, 80, 81, 82, 83, 84, 85, 95, 87, 24, 25, 26, 27, 28, 29, 30, 31},
    {2, 8,  1,  1,  0,  0,  0,  0,  0,  0,  1,  2,  0,  0,  0,  0,  0,
     0, 80, 81, 95, 95, 95, 95, 95, 87, 24, 25, 26, 27, 28, 29, 30, 31},
    {4, 8,  17, 17, 8,  8,  0,  0,  0,  0,  3,  12, 16, 32, 0,  0,  0,
     0, 80, 81, 82, 83, 84, 85, 95, 87, 24, 25, 26, 27, 28, 29, 30, 31},
    {2, 3,  1,  1,  0,  0,  0,  0,  0,  0,  1,  2,  0,  0,  0,  0,  0,
     0, 80, 81, 95, 95, 95, 95, 95, 87, 24, 25, 26, 27, 28, 29, 30, 31},
}};

} // namespace

namespace {

// What keeps text from being an image of `count` values; empty when nothing does.
std::string imageProblem(const std::string& text, size_t count) {
    if (ParseMemoryImageText(text, count)) return {};
    // The first value that does not read: the largest count that still reads, plus one.
    size_t good = 0, bad = count;
    while (bad - good > 1) {
        const size_t mid = (good + bad) / 2;
        (ParseMemoryImageText(text, mid) ? good : bad) = mid;
    }
    size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
    if (!text.empty() && text.back() != '\n') ++lines;
    if (lines <= good)
        return "it holds " + std::to_string(good) + " values, " + std::to_string(count) + " are needed";
    return "line " + std::to_string(bad) + " is not a number from 0 to 255";
}

} // namespace

bool CalibrationBench::CaricaEprom() {
    std::string path = programFolder_ + "/" + BenchModels[static_cast<size_t>(state.BenchModel)].ImageFile;
    if (!FileExists(path)) {
        app_.dialogs.messageBox("File " + path + " non trovato", MsgButtons::Ok, MsgIcon::Critical);
        path = app_.dialogs.openFile(MemoryImageFilter);
        if (path.empty()) return false;
    }
    app_.project.CurrentFilePath = path;
    std::string unread;
    const auto text = ReadUserFile(path, &unread);
    const std::string problem =
        !text ? "it cannot be read (" + unread + ")" : imageProblem(*text, ImageItems);
    if (!problem.empty()) {
        tell("EEPROM image " + path + ": " + problem + "; nothing written. The module's calibration ends.");
        return false;
    }
    // The last block reaches past the file's items: those bytes go out as zeros, never as leftovers.
    std::vector<uint8_t> image(ImageBlocks * BlockSize, 0);
    const auto items = ParseMemoryImageText(*text, ImageItems);
    std::copy(items->begin(), items->end(), image.begin());
    view.busy(true);
    const bool written = writeImage(image, path);
    view.busy(false);
    return written;
}

bool CalibrationBench::writeImage(const std::vector<uint8_t>& image, const std::string& path) {
    Log& log = app_.shell.log;
    log.LogWrite("Downloading ...");
    const uint8_t node = link_.node();
    for (int b = 0; b < ImageBlocks; ++b) {
        pausa(0.01);
        const std::span<const uint8_t> block(image.data() + b * BlockSize, BlockSize);
        const auto address = static_cast<uint16_t>(b * BlockSize);
        if (!link_.writeMemory(node, address, block) && !link_.writeMemory(node, address, block)) {
            log.LogWrite("Download Failed");
            tell("EEPROM image " + path + ": block " + std::to_string(b) + " (address " +
                 std::to_string(address) + ") not written. The module's calibration ends.");
            return false;
        }
        state.Progress = (b + 1) * 100 / ImageBlocks;
        changed();
    }
    log.LogWrite("Download Successful");
    return true;
}

bool CalibrationBench::ScriviCostante3(uint8_t node, uint8_t k, double value) {
    const auto f = FloatToBytes(value);
    const std::array<uint8_t, 3> bytes{f[2], f[1], f[0]};
    return link_.writeMemory(node, static_cast<uint16_t>(43 + 3 * k), bytes);
}

bool CalibrationBench::ScriviValore16(uint8_t node, uint8_t selector, int32_t a, int32_t b) {
    if (a < -32768 || a > 32767 || b < -32768 || b > 32767 || selector > 1) return false;
    const auto la = IntToBytes(a), lb = IntToBytes(b);
    const std::array<uint8_t, 4> bytes{la[0], la[1], lb[0], lb[1]};
    return link_.writeMemory(node, selector == 0 ? 24 : 20, bytes);
}

void CalibrationBench::writeBlocks(bool second) {
    const double wait = second ? 1 : 0.5;
    for (int n = 0; n < 2; ++n) {
        std::array<uint8_t, 43> block{};
        const BlockTail& tail = BlockTails[static_cast<size_t>((second ? 2 : 0) + n)];
        std::copy(tail.begin(), tail.end(), block.begin() + 9);
        if (second && n == 0) block[11] = block[12] = state.ProgInputsMode ? 18 : 17;
        const uint8_t node = n == 0 ? 247 : 246;
        for (uint16_t at : {0, 16, 32}) {
            const size_t count = at == 32 ? 11 : 16;
            link_.writeMemory(node, at, std::span<const uint8_t>(block.data() + at, count));
            pausa(wait);
        }
    }
}

void CalibrationBench::PreparaBloccoCostanti() {
    writeBlocks(false);
}

void CalibrationBench::PreparaBloccoCostanti2() {
    writeBlocks(true);
}
