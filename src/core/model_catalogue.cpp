#include "core/model_catalogue.h"

#include <string_view>

namespace {

constexpr std::string_view Row12Name = "JXV7950-MBTCP";

// One row as it differs from the template. Flag letters: D HasDisplay, P IsProgrammable (p: only in
// internal builds), R HasRtc, C HasCsvLogger, A EditorFeatureA, T HasTrigger, S SchedulerFeatureA,
// B EditorFeatureB, K SchedulerFeatureB, X ProjectTextBlocks.
struct ModelRow {
    const char* code;
    int nameEntry;
    uint16_t numRegisters, maxVariables, maxStrings, maxBlocks, maxTasks, highRegisterCount,
        firstUserRegister;
    uint8_t variableRecordSize, localIoCount;
    std::string_view flags;
};

constexpr std::array<ModelRow, FilledModelRows> Rows{{
    {"8670", 0, 1024, 32, 0, 0, 16, 64, 26, 16, 0, "P"},
    {"8961", 1, 1024, 32, 0, 0, 16, 64, 26, 16, 4, "P"},
    {"8969", 2, 1024, 32, 0, 0, 16, 64, 26, 16, 0, "PR"},
    {"8006", 3, 1024, 32, 0, 0, 16, 64, 26, 16, 4, "PR"},
    {"8409", 3, 1024, 32, 0, 0, 16, 64, 26, 16, 4, "PR"},
    {"80E7", 4, 1280, 96, 64, 0, 16, 64, 26, 16, 4, "PRC"},
    {"8852", 5, 1024, 32, 0, 0, 16, 64, 34, 16, 2, "P"},
    {"8922", 6, 1024, 32, 0, 0, 16, 64, 34, 16, 2, "PR"},
    {"83D1", 7, 1280, 96, 0, 0, 16, 64, 34, 16, 2, "PRC"},
    {"8480", 8, 1024, 32, 0, 0, 16, 64, 26, 16, 0, "DP"},
    {"5967", 9, 1280, 96, 0, 0, 16, 64, 26, 16, 3, "P"},
    {"3821", 25, 1280, 96, 0, 0, 16, 64, 26, 16, 0, "P"},
    {"7950", NameFixed, 1280, 96, 0, 0, 16, 64, 26, 16, 0, "P"},
    {"5996", 9, 1280, 96, 0, 0, 16, 64, 26, 16, 3, "P"},
    {"8916", 6, 1024, 32, 0, 0, 16, 64, 34, 16, 2, "PR"},
    {"85F2", 4, 1280, 96, 64, 0, 16, 64, 26, 16, 4, "PRCAB"},
    {"87F2", 7, 1280, 96, 0, 0, 16, 64, 34, 16, 2, "PRCAB"},
    {"84A9", 7, 1280, 96, 0, 0, 16, 64, 34, 16, 2, "PRC"},
    {"8185", 4, 1280, 128, 64, 2, 16, 64, 26, 16, 4, "PRCB"},
    {"81A3", 7, 1280, 128, 64, 2, 16, 64, 34, 16, 2, "PRCAB"},
    {"89D5", 7, 1280, 96, 0, 0, 16, 64, 34, 16, 2, "PRCAB"},
    {"8295", 4, 1280, 128, 64, 2, 16, 64, 26, 16, 4, "PRCB"},
    {"8662", 4, 1280, 127, 64, 2, 16, 64, 26, 16, 4, "PRCB"},
    {"88D4", 4, 1280, 127, 64, 8, 16, 64, 34, 16, 4, "PRCASB"},
    {"85E1", 4, 1280, 96, 64, 8, 16, 64, 34, 16, 4, "PRCABK"},
    {"87D9", 7, 1280, 96, 64, 8, 16, 64, 34, 16, 4, "PRCABK"},
    {"8168", 4, 1280, 127, 64, 2, 16, 64, 26, 16, 4, "PRCB"},
    {"89E6", 4, 1280, 127, 128, 16, 16, 64, 34, 16, 4, "PRCASBKX"},
    {"85A5", 7, 1280, 127, 128, 16, 16, 64, 34, 16, 4, "PRCASBKX"},
    {"8401", 4, 1280, 127, 128, 8, 16, 64, 26, 16, 4, "PCBX"},
    {"88A3", 4, 1280, 127, 127, 16, 16, 64, 35, 16, 4, "PRCASBKX"},
    {"84B5", 7, 1280, 127, 128, 16, 16, 128, 35, 16, 4, "PRCASBKX"},
    {"8CB7", 4, 1280, 255, 128, 32, 32, 64, 35, 32, 4, "PRCASBKX"},
    {"8AF7", 7, 1280, 255, 128, 32, 32, 64, 35, 32, 4, "PRCASBKX"},
    {"9865", 26, 1280, 255, 128, 32, 32, 64, 45, 32, 8, "pABX"},
    {"5920", 27, 1280, 1, 1, 32, 32, 64, 39, 32, 3, "PTBX"},
    {"9105", 28, 1280, 255, 128, 32, 32, 64, 45, 32, 8, "pABX"},
    {"868F", 29, 1024, 32, 0, 0, 0, 64, 27, 32, 0, "DP"},
    {"9490", 30, 1280, 255, 128, 32, 32, 64, 45, 32, 16, "pABX"},
    {"9460", 31, 1280, 255, 128, 32, 32, 64, 45, 32, 0, "pABX"},
    {"9049", 32, 1280, 255, 128, 32, 32, 64, 45, 32, 0, "pABX"},
    {"9911", 33, 1280, 255, 128, 32, 32, 64, 45, 32, 0, "pABX"},
    {"9266", 34, 1280, 255, 128, 32, 32, 64, 45, 32, 0, "pABX"},
    {"9582", 35, 1280, 255, 128, 32, 32, 64, 45, 32, 0, "pABX"},
    {"9152", 36, 1280, 255, 128, 32, 32, 64, 45, 32, 0, "pABX"},
    {"9326", 37, 1280, 255, 128, 32, 32, 64, 45, 32, 0, "pABX"},
    {"9A79", 38, 1280, 255, 128, 32, 32, 64, 45, 32, 0, "pABX"},
    {"9B78", 39, 1280, 255, 128, 32, 32, 64, 45, 32, 0, "pABX"},
    {"9E23", 40, 1280, 255, 128, 32, 32, 64, 45, 32, 0, "pABX"},
}};

// The row that BuildVariant gives a larger program area and high register block.
constexpr int VariantRow = 32;

constexpr int16_t flag(std::string_view flags, char letter) {
    return flags.find(letter) != std::string_view::npos ? int16_t{-1} : int16_t{0};
}

// The values every row shares (row 0 is the template the others are copied from).
ModelRecord templateRecord() {
    ModelRecord r;
    r.BlockSize = 512;
    r.BlocksBase = 45056;
    r.VariablesBase = 7680;
    r.ProgramBase = 512;
    r.ProgramCapacity = 5634;
    r.ProgramEnd = 6146;
    r.StringsBase = 35840;
    return r;
}

} // namespace

void InitModelli(ModelCatalogue& catalogue, const ModelNameList& names, const BuildFlags& flags) {
    catalogue.fill(ModelRecord{});
    for (int i = 0; i < FilledModelRows; ++i) {
        const ModelRow& row = Rows[static_cast<size_t>(i)];
        ModelRecord r = templateRecord();
        r.ModelCode = row.code;
        r.ModelName =
            row.nameEntry == NameFixed ? std::string(Row12Name) : names[static_cast<size_t>(row.nameEntry)];
        r.NumRegisters = row.numRegisters;
        r.MaxVariables = row.maxVariables;
        r.MaxStrings = row.maxStrings;
        r.MaxBlocks = row.maxBlocks;
        r.MaxTasks = row.maxTasks;
        r.HighRegisterCount = row.highRegisterCount;
        r.FirstUserRegister = row.firstUserRegister;
        r.VariableRecordSize = row.variableRecordSize;
        r.LocalIoCount = row.localIoCount;
        r.HasDisplay = flag(row.flags, 'D');
        r.IsProgrammable = flag(row.flags, 'P') | (flags.Internal ? flag(row.flags, 'p') : int16_t{0});
        r.HasRtc = flag(row.flags, 'R');
        r.HasCsvLogger = flag(row.flags, 'C');
        r.EditorFeatureA = flag(row.flags, 'A');
        r.HasTrigger = flag(row.flags, 'T');
        r.SchedulerFeatureA = flag(row.flags, 'S');
        r.EditorFeatureB = flag(row.flags, 'B');
        r.SchedulerFeatureB = flag(row.flags, 'K');
        r.ProjectTextBlocks = flag(row.flags, 'X');
        if (flags.Variant && i == VariantRow) {
            r.HighRegisterCount = 128;
            r.ProgramCapacity = 7664;
            r.ProgramEnd = 23792;
        }
        r.HighRegisterStart = static_cast<uint16_t>(r.NumRegisters - r.HighRegisterCount);
        catalogue[static_cast<size_t>(i)] = r;
    }
}

int ModelNameEntryOf(int row) {
    return row >= 0 && row < FilledModelRows ? Rows[static_cast<size_t>(row)].nameEntry : NameFixed;
}

std::optional<int> FindModelByCode(const ModelCatalogue& catalogue, std::string_view code) {
    for (int i = 0; i < FilledModelRows; ++i)
        if (catalogue[static_cast<size_t>(i)].ModelCode == code) return i;
    return std::nullopt;
}
