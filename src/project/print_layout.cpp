#include "project/print_layout.h"

#include "fbeditor/catalogue.h"
#include "fbeditor/editor.h"

namespace {

constexpr int LabelWidth = 10;
constexpr int PictureScale = 10;

template <size_t N> const std::string& entryOr(const std::array<std::string, N>& names, size_t i) {
    static const std::string none;
    return i < N ? names[i] : none;
}

} // namespace

void Stampa::StampaTesto(const std::string& text, int y, int x, bool advance) {
    PrintColumns[0] = text;
    PrintCommand c;
    c.kind = PrintCommand::Text;
    c.x = x;
    c.y = y;
    c.text = text;
    c.fontSize = fontSize_;
    c.bold = bold_;
    out_.push_back(std::move(c));
    PrintNextY = y + m_.textHeight(text, fontSize_, bold_);
    if (advance) {
        PrintY = PrintNextY;
        ControllaFinePagina(PrintY);
    }
}

void Stampa::StampaRiga(int h) {
    PrintNextY = PrintY + m_.textHeight(PrintColumns[0], fontSize_, bold_);
    ControllaFinePagina(PrintNextY);
    PrintY = PrintNextY;
    PrintCommand c;
    c.kind = PrintCommand::Rule;
    c.x = Margin;
    c.y = PrintY;
    c.x2 = m_.W - Margin;
    c.y2 = PrintY + h - 1;
    out_.push_back(c);
}

void Stampa::StampaLinea(uint16_t picture, int y, int x, int s) {
    PrintCommand c;
    c.kind = PrintCommand::Picture;
    c.x = x;
    c.y = y;
    c.picture = picture;
    c.width = 50 * s;
    c.height = 60 * s;
    out_.push_back(c);
}

void Stampa::StampaColonne(const std::string& a, const std::string& b) {
    StampaTesto(a, PrintY, column(2), false);
    StampaTesto(b, PrintY, column(3), true);
}

void Stampa::StampaColonne2(const std::string& a, const std::string& b, const std::string& c) {
    StampaTesto(a, PrintY, column(1), false);
    StampaTesto(b, PrintY, column(2), false);
    StampaTesto(c, PrintY, column(3), true);
}

void Stampa::Intestazione(const std::string& text) {
    StampaRiga(1);
    fontSize_ = 8;
    bold_ = true;
    StampaTesto(text, PrintY, Margin, true);
    StampaRiga(1);
}

void Stampa::TestaPagina() {
    // The header itself never breaks the page: on a page too short for it that would never end.
    inHeader_ = true;
    PrintY = Margin;
    fontSize_ = 10;
    bold_ = true;
    StampaTesto("Melqo", PrintY, Margin, false);
    bold_ = false;
    StampaTesto("Page " + std::to_string(PrintPage), PrintY, column(7), true);
    StampaRiga(1);
    inHeader_ = false;
}

void Stampa::ControllaFinePagina(int y) {
    if (inHeader_) return;
    const int size = fontSize_;
    if (m_.H - Margin < y) {
        ++PrintPage;
        PrintCommand c;
        c.kind = PrintCommand::NewPage;
        out_.push_back(c);
        TestaPagina();
        PrintNextY = PrintY;
    }
    fontSize_ = size;
}

void Stampa::printRung(const AppContext& ctx, int i, const RungRow& row) {
    const CommandRecord& rec = ctx.project.Program.Sections[0].Rungs[static_cast<size_t>(i)];
    bold_ = true;
    std::string label = rec.Label;
    if (label.size() < LabelWidth) label.resize(LabelWidth, ' ');
    // The "<...>" placeholder prints as an empty description; the rung itself is left as it is.
    const std::string description = rec.Description == "<...>" ? std::string() : rec.Description;
    StampaTesto(std::to_string(i) + "[" + label + "] " + description, PrintY, Margin, true);
    const uint8_t k = FunzToOpt(rec.FunctionType, rec.Opcode, rec.SubOp);
    StampaTesto(entryOr(ctx.shell.FunctionNames, k), PrintY, column(1), true);
    StampaLinea(catalogueEntry(k).Picture, PrintY, column(1), PictureScale);
    bold_ = false;
    int count = 0;
    for (size_t a = 0; a < row.ArgCaptions.size(); ++a) {
        if (!row.CaptionVisible[a]) continue;
        StampaColonne(row.ArgCaptions[a], row.ArgValues[a]);
        ++count;
    }
    for (int j = 0; j <= 3 - count; ++j)
        StampaTesto("", PrintY, Margin, true);
}

void Stampa::printRegisters(const AppContext& ctx) {
    const ModelRecord& model = ctx.model();
    const auto& regs = ctx.comm.Registers;
    // NumRegisters itself is listed too, but never past the end of the register table.
    const int last = std::min<int>(model.NumRegisters, static_cast<int>(regs.size()) - 1);
    for (int r = 0; r <= last; ++r) {
        const RegisterRecord& reg = regs[static_cast<size_t>(r)];
        if (reg.Name.empty() || reg.Kind == 1 || reg.Kind == 2) continue;
        StampaColonne2(reg.Label + (r >= model.HighRegisterStart ? "(*)" : ""), reg.Name,
                       entryOr(ctx.shell.ValueTypeNames, reg.ValueType));
    }
}

void Stampa::StampaProgetto(const AppContext& ctx, const std::vector<RungRow>& rows) {
    out_.clear();
    PrintPage = 1;
    TestaPagina();
    bold_ = true;
    StampaTesto(ctx.project.ProjectPath, PrintY, Margin, true);
    bold_ = false;
    StampaTesto("Controller: " + ctx.model().ModelName, PrintY, Margin, true);
    fontSize_ = 8;
    Intestazione("MAIN program");
    const int count = std::min<int>(ctx.project.Program.Sections[0].RungCount, MaxRungs);
    for (int i = 1; i <= count; ++i)
        printRung(ctx, i,
                  static_cast<size_t>(i) <= rows.size() ? rows[static_cast<size_t>(i - 1)] : RungRow{});
    Intestazione("Registers");
    StampaColonne2("Register", "Label", "Type");
    printRegisters(ctx);
}

std::vector<RungRow> printRows(const AppContext& ctx) {
    Project copy = ctx.project;
    AppContext scratch{ctx.shell, ctx.comm, copy, ctx.pump, ctx.dialogs, ctx.link};
    const int count = std::min<int>(copy.Program.Sections[0].RungCount, MaxRungs);
    std::vector<RungRow> rows(static_cast<size_t>(std::max(count, 0)));
    for (int i = 1; i <= count; ++i)
        rebuildRungWithRow(scratch, 0, static_cast<int16_t>(i), rows[static_cast<size_t>(i - 1)]);
    return rows;
}
