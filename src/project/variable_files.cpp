// ".fmt" (variables), ".str" (strings) and ".blk" (text blocks).
#include <algorithm>
#include <cmath>

#include "project/item_writer.h"
#include "project/project_files.h"

namespace {

bool isStringType(uint8_t type) {
    return type >= 13 && type <= 15;
}

// String variables keep their second and third register, mask and swap flag as "300.0.1.0".
std::string dottedFields(const VariableRecord& v) {
    return std::to_string(v.AltRegister) + "." + std::to_string(v.TriggerRegister) + "." +
           std::to_string(v.Mask) + "." + std::to_string(v.Swap);
}

// Each part that converts goes to its field, cut to a whole number; the others keep their value.
void takeDottedFields(const std::string& text, VariableRecord& v, ItemReader& in) {
    std::string parts[4];
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        size_t dot = text.find('.', start);
        parts[i] = text.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        start = dot == std::string::npos ? text.size() : dot + 1;
    }
    auto take = [&](const std::string& part, auto& field, double lo, double hi) {
        auto n = parseNumber(part);
        if (!n || std::trunc(*n) < lo || std::trunc(*n) > hi) {
            ++in.unconvertible;
            return;
        }
        field = static_cast<std::remove_reference_t<decltype(field)>>(std::trunc(*n));
    };
    take(parts[0], v.AltRegister, INT32_MIN, INT32_MAX);
    take(parts[1], v.TriggerRegister, INT32_MIN, INT32_MAX);
    take(parts[2], v.Mask, -32768, 32767);
    take(parts[3], v.Swap, -32768, 32767);
}

int usedStrings(const ModelRecord& model) {
    return std::min<int>(model.MaxStrings, std::tuple_size_v<StringTable>);
}
int usedBlocks(const ModelRecord& model) {
    return std::min<int>(model.MaxBlocks, std::tuple_size_v<TextBlockTable>);
}

bool isMarker(std::string_view line) {
    return line.starts_with(BlockOpenMarker) || line.starts_with(BlockCloseMarker);
}

} // namespace

std::string writeVariableFile(const VariableTable& vars) {
    ItemWriter out;
    out.number(vars.Count);
    for (int i = 0; i < vars.Count; ++i) {
        const VariableRecord& v = vars.Variables[static_cast<size_t>(i)];
        out.number(v.Register);
        out.number(v.ValueType);
        out.text(isStringType(v.ValueType) ? dottedFields(v) : v.Format);
        // The first TAB parts the name from the CSV header name, so the name cannot keep one of its own.
        std::string name = v.Name;
        std::replace(name.begin(), name.end(), '\t', ' ');
        out.text(name + "\t" + v.CsvName);
    }
    return out.contents();
}

void readVariableFile(std::string_view data, ItemMode mode, VariableTable& vars, LoadReport& report) {
    ItemReader in(data, mode);
    in.byte(vars.Count); // at most 255: the array holds 257
    for (int i = 0; i < vars.Count; ++i) {
        VariableRecord& v = vars.Variables[static_cast<size_t>(i)];
        in.longInt(v.Register);
        in.byte(v.ValueType);
        in.text(v.Format);
        if (isStringType(v.ValueType)) takeDottedFields(v.Format, v, in);
        if (auto item = in.field()) {
            size_t tab = item->find('\t');
            v.Name = item->substr(0, tab);
            v.CsvName = tab == std::string::npos ? "" : item->substr(tab + 1);
        }
    }
    report.noteItems(".fmt", in);
}

std::string writeStringFile(const StringTable& strings, const ModelRecord& model) {
    ItemWriter out;
    for (int i = 0; i < usedStrings(model); ++i)
        out.text(strings[static_cast<size_t>(i)].Text);
    return out.contents();
}

void readStringFile(std::string_view data, ItemMode mode, StringTable& strings, const ModelRecord& model,
                    LoadReport& report) {
    ItemReader in(data, mode);
    for (int i = 0; i < usedStrings(model); ++i)
        in.text(strings[static_cast<size_t>(i)].Text);
    report.noteItems(".str", in);
}

int blockMarkerLine(std::string_view text) {
    // Lines as the writer splits them: at CR LF, CR or LF.
    int number = 1;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '\r' && text[i] != '\n') continue;
        if (isMarker(text.substr(start, i - start))) return number;
        if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') ++i;
        start = i + 1;
        ++number;
    }
    return 0;
}

std::string writeBlockFile(const TextBlockTable& blocks, const ModelRecord& model) {
    ItemWriter out;
    for (int i = 0; i < usedBlocks(model); ++i) {
        const TextBlock& b = blocks[static_cast<size_t>(i)];
        out.text(std::string(BlockOpenMarker) + b.Name);
        out.multiLineText(b.Text);
        out.tag("</TEXT>");
    }
    return out.contents();
}

void readBlockFile(std::string_view data, const SetLayout& layout, TextBlockTable& blocks,
                   const ModelRecord& model, LoadReport& report) {
    ItemReader in(data, layout.mode());
    if (!layout.tagged) {
        // The counted layout has no structure: everything is the text of block 0, but for lines the
        // tagged file written next would take for block bounds.
        int64_t markers = 0;
        while (auto item = in.next()) {
            if (isMarker(*item))
                ++markers;
            else
                blocks[0].Text += *item + "\r\n";
        }
        if (markers > 0)
            report.add(".blk: " + std::to_string(markers) + " line(s) beginning with a block marker dropped");
        return;
    }
    constexpr int capacity = std::tuple_size_v<TextBlockTable>;
    int block = -1;
    int64_t outside = 0; // lines between the blocks, blank ones left out
    TextBlock scratch;
    auto current = [&]() -> TextBlock& {
        return block >= 0 && block < capacity ? blocks[static_cast<size_t>(block)] : scratch;
    };
    bool open = false;
    while (auto item = in.next()) {
        if (item->starts_with(BlockOpenMarker)) {
            open = true;
            ++block;
            current().Text.clear();
            if (model.ProjectTextBlocks != 0) current().Name = item->substr(BlockOpenMarker.size());
        } else if (item->starts_with(BlockCloseMarker)) {
            open = false;
            std::string& text = current().Text;
            if (text.ends_with("\r\n")) text.resize(text.size() - 2);
        } else if (open) {
            current().Text += *item + "\r\n";
        } else if (item->find_first_not_of(" \t") != std::string::npos) {
            ++outside;
        }
    }
    in.truncated = open; // the last block was not closed
    report.noteItems(".blk", in);
    // Blocks past the model's are never saved again.
    report.noteDropped(".blk", "block(s)", block + 1 - usedBlocks(model), usedBlocks(model));
    if (outside > 0) report.add(".blk: " + std::to_string(outside) + " line(s) outside the blocks dropped");
}
