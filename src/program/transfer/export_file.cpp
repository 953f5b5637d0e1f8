#include "program/transfer/export_file.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "core/app_context.h"
#include "core/build_flags.h"
#include "core/busy_run.h"
#include "core/durable_file.h"
#include "program/compiler.h"
#include "program/transfer/file_output.h"
#include "program/transfer/side_area_transfer.h"

namespace {

// The file being assembled: controller address a at offset H + a - 512; unwritten bytes are zero and
// the file ends after the last byte written.
class ExportBytes {
public:
    explicit ExportBytes(int headerSize)
        : headerSize_(headerSize), bytes_(size_t(headerSize + 65536 - ExportFirstAddress), '\0') {}

    void put(size_t offset, uint8_t value) {
        bytes_[offset] = char(value);
        end_ = std::max(end_, offset + 1);
    }
    void putAddress(long address, uint8_t value) { put(size_t(headerSize_ + address - ExportFirstAddress), value); }

    // ScriviSezione: the section's addresses from MemoryImage, or zeros.
    void section(const ExportSection& s, const std::vector<uint8_t>* image) {
        for (long a = s.start; a <= s.end; ++a) putAddress(a, image ? (*image)[size_t(a)] : 0);
    }
    std::string take() {
        bytes_.resize(end_);
        return std::move(bytes_);
    }

private:
    int headerSize_;
    std::string bytes_;
    size_t end_ = 0;
};

std::optional<std::string> assemble(AppContext& app, const TransferView& view, bool header, bool areas,
                                    const ExportFormat& format) {
    const ModelRecord& model = app.model();
    int32_t size = CompilaProgramma(app);
    if (size == 0 || app.project.Compiler.CompileErrorCount > 0 || model.ProgramBase < ExportFirstAddress ||
        model.ProgramBase + model.ProgramCapacity > 65536) {
        app.shell.log.LogWrite("Export Failed");
        return std::nullopt;
    }
    // Variables that cannot be encoded and texts the encoders would cut without their terminators are
    // refused, as the download refuses them.
    std::string why = areas ? UnencodableVariable(app) : "";
    if (why.empty() && areas) why = SideTextOverflow(app, !format.layoutA, format.firstTextBlock);
    if (!why.empty()) {
        app.shell.log.LogWrite(why);
        app.shell.log.LogWrite("Export Failed");
        return std::nullopt;
    }
    std::vector<uint8_t>& image = app.project.MemoryImage;
    const ExportSectionTable& sections = *format.sections;
    // Data sections come from MemoryImage: clear them so only what the encoders write reaches the file.
    for (size_t e = 1; e < sections.size(); ++e)
        if (sections[e].kind == 0 && sections[e].end > 0)
            std::fill(image.begin() + sections[e].start, image.begin() + sections[e].end + 1, uint8_t{0});

    ExportBytes file(header ? ExportHeaderSize : 0);
    if (header) {
        BuildExportHeader(image, format.magic, app.shell.VersionText, app.shell.VersionSuffix, sections);
        for (int i = 0; i < ExportHeaderSize; ++i) file.put(size_t(i), image[size_t(i)]);
    }
    for (long a = model.ProgramBase; a < model.ProgramBase + model.ProgramCapacity; ++a)
        file.putAddress(a, app.project.ProgramImage[size_t(a - ExportFirstAddress)]);
    if (!areas) return file.take();

    auto data = [&](int e) { file.section(sections[size_t(e)], &image); };
    auto gap = [&](int e) { file.section(sections[size_t(e)], nullptr); };
    if (format.layoutA) {
        if (!DownloadVariabili(app, app.project, view, false)) return std::nullopt;
        data(2);
        if (!DownloadBlocchi(app, app.project, view, false, format.firstTextBlock)) return std::nullopt;
        data(6);
        return file.take();
    }
    gap(1);
    if (!DownloadVariabili(app, app.project, view, false)) return std::nullopt;
    data(2);
    gap(3);
    if (!DownloadStringhe(app, app.project, view, false)) return std::nullopt;
    data(4);
    gap(5);
    if (!DownloadIntestazioniCSV(app, app.project, view, false)) return std::nullopt;
    data(6);
    gap(7);
    if (!DownloadBlocchi(app, app.project, view, false, format.firstTextBlock)) return std::nullopt;
    data(8);
    gap(9);
    return file.take();
}

// The name with the export's extension, added when it does not end with it (in any case).
std::string withExtension(const std::string& name, const std::string& extension) {
    const bool has =
        name.size() > extension.size() &&
        std::equal(extension.begin(), extension.end(), name.end() - long(extension.size()),
                   [](char a, char b) { return std::tolower(uint8_t(a)) == std::tolower(uint8_t(b)); });
    return has ? name : name + extension;
}

} // namespace

ExportFormat BuildExportFormat() {
    ExportFormat format;
    if (BuildVariant) {
        format.sections = &ExportLayoutA;
        format.layoutA = true;
        format.firstTextBlock = 16;
    }
    if (BuildBrand2 != 0 || BuildVariant != 0) format.magic = "ORVIK";
    if (BuildBrand2) {
        format.filter = " (*.ovk)|*.ovk|(*.*)|*.*|";
        format.extension = ".ovk";
    }
    return format;
}

bool Esporta(AppContext& app, const TransferView& view, bool header, bool areas) {
    return EsportaFormat(app, view, header, areas, BuildExportFormat());
}

bool EsportaFormat(AppContext& app, const TransferView& view, bool header, bool areas, const ExportFormat& format) {
    const BusyRun run(app, "an export");
    Log& log = app.shell.log;
    log.LogStart();
    log.LogWrite("Exporting ...");
    std::string chosen = app.dialogs.saveFile(format.filter);
    if (chosen.empty()) return false;
    // The project keeps its own name and place: a Save after the export writes the project's set.
    const std::string path = withExtension(chosen, format.extension);
    view.busy(true);
    // A place that cannot take the file is told before the compile and the encoders report their steps.
    std::optional<SaveFailure> failed = CheckSavable(path);
    std::optional<std::string> bytes;
    if (!failed) bytes = assemble(app, view, header, areas, format);
    if (bytes) failed = SaveFileDurably(path, *bytes);
    view.busy(false);
    if (failed) {
        TellSaveFailure(app, "Export Failed", *failed);
        return false;
    }
    if (bytes) log.LogWrite("Export Successful");
    return bytes.has_value();
}
