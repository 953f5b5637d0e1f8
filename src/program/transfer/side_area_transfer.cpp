#include "program/transfer/side_area_transfer.h"

#include <array>
#include <span>
#include <string>

#include "core/app_context.h"
#include "core/variable_limits.h"
#include "comm/device_procedures.h"
#include "program/transfer/controller_memory_map.h"
#include "program/transfer/side_area_encoders.h"

namespace {

// The log lines and pointer of one side-area step; ends with " Successful" or " Failed". An export only
// encodes here: its one success line comes once its file is written.
class Step {
public:
    Step(AppContext& app, const TransferView& view, bool download, const std::string& what)
        : app_(app), view_(view), download_(download), label_(download ? "Download" : "Export") {
        if (download) view.progress(1);
        view.busy(true);
        app.shell.log.LogStart();
        app.shell.log.LogWrite(label_ + what);
    }
    bool finish(bool ok) {
        if (download_ || !ok) app_.shell.log.LogWrite(label_ + (ok ? " Successful" : " Failed"));
        view_.busy(false);
        return ok;
    }

private:
    AppContext& app_;
    const TransferView& view_;
    bool download_;
    std::string label_;
};

// Whether count bytes from address lie inside the 64 KB memory image.
bool inImage(long address, long count) { return address >= 0 && address + count <= MemoryImageSize; }

template <size_t N> std::span<uint8_t, N> at(std::vector<uint8_t>& image, long address) {
    return std::span<uint8_t, N>(image.data() + address, N);
}

bool write(AppContext& app, long address, int count) {
    return ScriviMemoria(app, app.comm.CurrentDevice.NodeAddress, int32_t(address), int32_t(address),
                         uint8_t(count));
}

} // namespace

bool DownloadVariabili(AppContext& app, const Project& source, const TransferView& view, bool download) {
    Step step(app, view, download, "ing Variables...");
    const ModelRecord& model = app.model();
    std::vector<uint8_t>& image = app.project.MemoryImage;
    const VariableTable& table = source.Variables;
    int count = table.Count;
    if (count == 0) return step.finish(true);
    long countAddress = long(model.VariablesBase) - 1;
    long last = model.VariablesBase + long(count - 1) * model.VariableRecordSize;
    if (!inImage(countAddress, 1) || !inImage(last, VariableWriteSize)) return step.finish(false);
    image[size_t(countAddress)] = uint8_t(count - 1);
    if (download && !write(app, countAddress, 1)) return step.finish(false);
    for (int i = 0; i < count; ++i) {
        long p = model.VariablesBase + long(i) * model.VariableRecordSize;
        // With a pitch of 16 each 32-byte write runs into the next slot, which the next variable rewrites.
        if (!EncodeVariable(table.Variables[size_t(i)], model.StringsBase, at<VariableWriteSize>(image, p)))
            return step.finish(false);
        if (!download) continue;
        if (!write(app, p, VariableWriteSize)) return step.finish(false);
        view.progress(BarAfter(size_t(i + 1), size_t(count)));
    }
    return step.finish(true);
}

bool DownloadStringhe(AppContext& app, const Project& source, const TransferView& view, bool download) {
    Step step(app, view, download, "ing Strings...");
    const ModelRecord& model = app.model();
    std::vector<uint8_t>& image = app.project.MemoryImage;
    for (size_t i = 0; i <= model.MaxStrings && i < source.Strings.size(); ++i) {
        long a = long(model.StringsBase) + StringSlot * long(i);
        if (!inImage(a, StringSlot)) return step.finish(false);
        EncodeString(source.Strings[i].Text, at<StringSlot>(image, a));
        if (download && !write(app, a, StringSlot)) return step.finish(false);
    }
    return step.finish(true);
}

bool DownloadIntestazioniCSV(AppContext& app, const Project& source, const TransferView& view,
                             bool download) {
    Step step(app, view, download, "CSV Headers...");
    const TaskArray& tasks = source.Tasks;
    std::vector<uint8_t>& image = app.project.MemoryImage;
    for (int t = 1; t <= tasks.Count && t <= CsvHeaderTasks && t < int(tasks.Tasks.size()); ++t) {
        const std::string& line = tasks.Tasks[size_t(t)].CsvHeaderLine;
        if (line.empty()) continue;
        long a = CsvHeadersBase + long(CsvHeaderSlot) * (t - 1);
        int pieces = EncodeCsvHeader(line, at<CsvHeaderSlot>(image, a));
        if (pieces == 0) return step.finish(false);
        for (int j = 0; download && j < pieces; ++j)
            if (!write(app, a + TransferBlock * j, TransferBlock)) return step.finish(false);
    }
    return step.finish(true);
}

bool DownloadBlocchi(AppContext& app, const Project& source, const TransferView& view, bool download,
                     int firstBlock) {
    Step step(app, view, download, "ing Blocks...");
    const ModelRecord& model = app.model();
    std::vector<uint8_t>& image = app.project.MemoryImage;
    for (int b = firstBlock; b < model.MaxBlocks && b < int(source.Blocks.size()); ++b) {
        long a = long(model.BlocksBase) + long(model.BlockSize) * b;
        if (!inImage(a, model.BlockSize)) return step.finish(false);
        EncodeTextBlock(source.Blocks[size_t(b)].Text, std::span<uint8_t>(image.data() + a, model.BlockSize));
        for (int j = 0; download && j < model.BlockSize / TransferBlock; ++j)
            if (!write(app, a + TransferBlock * j, TransferBlock)) return step.finish(false);
    }
    return step.finish(true);
}

std::string UnencodableVariable(const AppContext& app) {
    const VariableTable& table = app.project.Variables;
    std::array<uint8_t, VariableWriteSize> scratch{};
    for (int i = 0; i < table.Count; ++i) {
        const VariableRecord& v = table.Variables[size_t(i)];
        if (const std::string why = VariableRegisterRefusal(v, app.model()); !why.empty())
            return "Variable " + std::to_string(i) + " (" + v.Name + "): " + why;
        if (!EncodeVariable(v, app.model().StringsBase, scratch))
            return "Variable " + std::to_string(i) +
                   ": a register or string number lies outside the controller's addresses";
    }
    return {};
}

std::string SideTextOverflow(const AppContext& app, bool strings, int firstBlock) {
    const ModelRecord& model = app.model();
    const Project& p = app.project;
    for (size_t i = 0; strings && i <= model.MaxStrings && i < p.Strings.size(); ++i)
        if (p.Strings[i].Text.size() >= size_t(StringSlot))
            return "String " + std::to_string(i) + " is longer than " + std::to_string(StringSlot - 1) +
                   " characters";
    for (int b = firstBlock; b < model.MaxBlocks && b < int(p.Blocks.size()); ++b)
        if (p.Blocks[size_t(b)].Text.size() >= model.BlockSize)
            return "Text block " + std::to_string(b) + " is longer than " +
                   std::to_string(model.BlockSize - 1) + " characters";
    return {};
}

bool FunzioneVuota() { return false; }
