#include "project/table_editor.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "program/program_store_ops.h"
#include "project/file_io.h"
#include "project/item_reader.h"
#include "project/project_texts.h"
#include "project/table_file.h"

namespace {

std::string valueText(double v) {
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, ec == std::errc{} ? end : buf);
}

std::optional<int> wholePointCount(const std::string& text) {
    auto v = parseNumber(text);
    if (!v || std::trunc(*v) < 2 || std::trunc(*v) > MaxTablePoints) return std::nullopt;
    return static_cast<int>(std::trunc(*v));
}

} // namespace

void TableEditor::selectTable(int position) {
    if (position < 0 || position >= tables_.Count) return;
    selected = position;
    work = tables_.Tables[static_cast<size_t>(position)];
    showWorkingCopy();
}

void TableEditor::showWorkingCopy() {
    fields.name = work.Name;
    fields.pointCount = std::to_string(work.PointCount);
    for (int i = 0; i < std::min<int>(work.PointCount, TableRows); ++i) {
        fields.inputs[static_cast<size_t>(i)] = valueText(work.Inputs[static_cast<size_t>(i)]);
        fields.outputs[static_cast<size_t>(i)] = valueText(work.Outputs[static_cast<size_t>(i)]);
    }
}

std::optional<int> TableEditor::pointCountChanged() {
    auto n = wholePointCount(fields.pointCount);
    if (!n) dialogs_.messageBox("N = 2 to 26");
    return n;
}

bool TableEditor::LeggiTabella() {
    // The name is one line of the table files, and a Linearization's row names its table by it.
    if (fields.name.empty() || fields.name.find_first_of("\r\n") != std::string::npos) {
        dialogs_.messageBox("Check Table Name");
        return false;
    }
    if (fields.name.find(',') != std::string::npos) {
        dialogs_.messageBox("Check Table Name: a table name holds no \",\"");
        return false;
    }
    auto n = wholePointCount(fields.pointCount);
    if (!n) {
        dialogs_.messageBox("Check N points");
        return false;
    }
    LookupTable copy = work;
    copy.Name = fields.name;
    copy.PointCount = static_cast<uint8_t>(*n);
    for (int i = 0; i < *n; ++i) {
        auto in = parseNumber(fields.inputs[static_cast<size_t>(i)]);
        auto out = parseNumber(fields.outputs[static_cast<size_t>(i)]);
        if (!in || !out) { // a box without a number stops the copy: nothing is taken
            dialogs_.messageBox("Check point " + std::to_string(i + 1));
            return false;
        }
        copy.Inputs[static_cast<size_t>(i)] = *in;
        copy.Outputs[static_cast<size_t>(i)] = *out;
    }
    work = copy;
    return true;
}

bool TableEditor::insertOrUpdate() {
    if (!LeggiTabella()) return false;
    bool isNew = selected < 0 || selected >= tables_.Count ||
                 work.Name != tables_.Tables[static_cast<size_t>(selected)].Name;
    if (isNew) {
        for (int t = 0; t < std::min<int>(tables_.Count, MaxLookupTables); ++t)
            if (tables_.Tables[static_cast<size_t>(t)].Name == work.Name) {
                dialogs_.messageBox("Check Table Name: table " + std::to_string(t + 1) + " is named \"" +
                                    work.Name + "\" already");
                return false;
            }
        if (tables_.Count >= MaxLookupTables) {
            dialogs_.messageBox(TablesFullText);
            return false;
        }
    }
    const int position = isNew ? tables_.Count : selected;
    if (int point = firstPointNotAscending(work); point > 0 && program_)
        if (int16_t rung = LinearizationRung(*program_, position)) {
            dialogs_.messageBox("Check point " + std::to_string(point) + ": the Linearization of rung " +
                                std::to_string(rung) + " uses this table, so its inputs must ascend");
            return false;
        }
    if (isNew) selected = tables_.Count++;
    LookupTable& target = tables_.Tables[static_cast<size_t>(selected)];
    target.Name = work.Name;
    target.PointCount = work.PointCount;
    target.Inputs = work.Inputs;
    target.Outputs = work.Outputs;
    modified_ = -1;
    return true;
}

std::optional<int> TableEditor::confirm(const std::function<void(LookupTableArray&)>& allocateTables) {
    if (!insertOrUpdate()) return std::nullopt;
    if (allocateTables) allocateTables(tables_);
    return selected;
}

bool TableEditor::saveToFile() {
    std::string name = dialogs_.saveFile(TableFileFilter);
    if (!LeggiTabella() || name.empty()) return false;
    // A name typed without an extension gets the one the dialog offers.
    if (std::string_view leaf = std::string_view(name).substr(name.find_last_of('/') + 1);
        leaf.find('.') == std::string_view::npos)
        name += ".csv";
    if (auto failed = SaveFileDurably(name, writeTableFile(work))) {
        dialogs_.messageBox("Cannot write " + failed->path + ": " + failed->reason, MsgButtons::Ok,
                            MsgIcon::Critical);
        return false;
    }
    return true;
}

bool TableEditor::loadFromFile() {
    std::string name = dialogs_.openFile(TableFileFilter);
    if (name.empty()) return false;
    std::string reason;
    auto data = ReadUserFile(name, &reason);
    if (!data) {
        dialogs_.messageBox("Cannot read " + name + ": " + reason, MsgButtons::Ok, MsgIcon::Critical);
        return false;
    }
    if (readTableFile(*data, work) != TableFileResult::Ok) {
        dialogs_.messageBox("N = 2 to 26");
        return false;
    }
    showWorkingCopy();
    return true;
}
