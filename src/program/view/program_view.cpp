#include "program/view/program_view.h"

#include <algorithm>

#include "program/program_store_ops.h"

using namespace row_layout;

namespace {

constexpr int CaptionTextKey = 53; // "Program" / "Programma"
const SectionRows NoRows{};

RowHit::Part hitPart(const ViewRow& r, int x, int y, int& slot) {
    const RungRow& c = r.Content;
    if (NumberBox.contains(x, y)) return RowHit::Number;
    if (r.BreakVisible && BreakBox.contains(x, y)) return RowHit::Break;
    if (r.LineTextVisible && FunctionBox.contains(x, y)) return RowHit::Function;
    if (r.LineTextVisible && SummaryBox.contains(x, y)) return RowHit::Summary;
    if (LabelBox.contains(x, y)) return RowHit::Label;
    if (y >= r.Height) return RowHit::None;
    if (DescriptionBox.contains(x, y)) return RowHit::Description;
    for (int i = 0; i < 8; ++i) {
        if (c.ValueVisible[i] && valueBox(i).contains(x, y)) return slot = i, RowHit::Value;
        if (c.CaptionVisible[i] && captionBox(i).contains(x, y)) return slot = i, RowHit::Caption;
    }
    if (c.PictureVisible && PictureBox.contains(x, y)) return RowHit::Picture;
    return RowHit::Panel;
}

} // namespace

ProgramView::ProgramView(AppContext& ctx) : ctx_(ctx) {}

SectionRows& ProgramView::section(int s) {
    if (s < 0 || s >= SectionCount) s = 0;
    if (sections_.size() <= static_cast<size_t>(s)) sections_.resize(static_cast<size_t>(s) + 1);
    return sections_[static_cast<size_t>(s)];
}

ViewRow* ProgramView::row(int rung) {
    SectionRows& sec = rows();
    if (rung < 0 || rung >= static_cast<int>(sec.Rows.size())) return nullptr;
    return &sec.Rows[static_cast<size_t>(rung)];
}

std::optional<bool> ProgramView::rowInView(int rung) {
    const ViewRow* r = row(rung);
    if (!r) return std::nullopt;
    // Rows that the layout left unplaced sit above the top.
    return r->Top >= 0 && r->Top + r->Height <= VisibleHeight;
}

void ProgramView::load() {
    SetRes();
    Tabs = {"Main"};
    SelectedTab = 1;
    sections_.clear();
    SectionRows& main = section(0);
    main.Rows = {ViewRow::empty()};
    main.Rows[0].Shown = false;
    main.Visible = true;
    ScrollValue = ScrollMax = 0;
    ScrollVisible = false;
    Caricato = true;
    if (onLoadedChanged) onLoadedChanged(true);
    changed();
}

void ProgramView::unload() {
    if (!Caricato) return;
    Caricato = false;
    sections_.clear();
    Tabs.clear();
    if (onLoadedChanged) onLoadedChanged(false);
}

void ProgramView::SetRes() {
    Caption = ctx_.shell.UiText[CaptionTextKey];
    changed();
}

void ProgramView::SelezionaRung(int16_t rung) {
    ProgramStore& store = ctx_.project.Program;
    ViewRow* next = row(rung);
    if (!next) return; // only rows that exist can be selected
    if (ViewRow* old = row(store.CurrentRung))
        old->FrameColour = SystemButtonFace;
    else if (ViewRow* tpl = row(0))
        tpl->FrameColour = SystemButtonFace;
    next->FrameColour = Red;
    store.CurrentRung = rung;
    changed();
}

void ProgramView::rowClick(int16_t rung) {
    SelezionaRung(rung);
}

void ProgramView::rowDoubleClick(int16_t rung) {
    SelezionaRung(rung);
    if (ApriRung) ApriRung(ctx_.project.Program.CurrentRung);
}

void ProgramView::rowPress(int16_t rung, int button) {
    SelezionaRung(rung);
    if (button == 2 && popupRungMenu) popupRungMenu();
}

void ProgramView::descriptionChanged(int16_t rung, const std::string& text) {
    ViewRow* r = row(rung);
    if (!r || rung > MaxRungs) return;
    r->Content.Description = text;
    SetDescription(ctx_.project.Program.current().Rungs[static_cast<size_t>(rung)], text);
    changed();
}

void ProgramView::descriptionClick(int16_t rung) {
    SelezionaRung(rung);
    if (ViewRow* r = row(rung); r && r->Content.Description == "<...>") descriptionChanged(rung, "");
}

void ProgramView::formatClick() {
    ProgramStore& store = ctx_.project.Program;
    uint8_t& format = store.current().ViewFormat;
    if (format == 0) {
        format = 1;
        FormatPicture = FormatToFullPicture;
    } else if (format == 1) {
        format = 0;
        FormatPicture = FormatToCompactPicture;
    }
    // The selected rung goes to the top; the scroll bar brings the rungs above it back.
    setScroll(store.CurrentRung > 0 ? store.CurrentRung - 1 : 0);
}

void ProgramView::tabClick(int tab) {
    if (tab < 1 || tab > static_cast<int>(Tabs.size())) return;
    for (SectionRows& s : sections_)
        s.Visible = false;
    SelectedTab = tab;
    ctx_.project.Program.CurrentSection = static_cast<int16_t>(tab - 1);
    rows().Visible = true;
    changed();
}

bool ProgramView::closeRequest() {
    if (ctx_.dialogs.messageBox("Close Project?", MsgButtons::OkCancel, MsgIcon::Question, "Melqo") !=
        MsgChoice::Ok)
        return false;
    // Closing the program unloads the view too; a save that did not happen keeps everything.
    if (NuovoProgramma && !NuovoProgramma()) return false;
    unload();
    return true;
}

void ProgramView::setScroll(int value) {
    ScrollValue = std::clamp(value, 0, ScrollMax);
    // Rungs scrolled off the top are reached only through the bar: it shows while there are any.
    ScrollVisible = ScrollVisible || ScrollValue > 0;
    VScroll_Change();
}

void ProgramView::VScroll_Change() {
    ImpostaScroll(ScrollValue);
    changed();
}

bool ProgramView::RidisegnaRung() {
    ProgramStore& store = ctx_.project.Program;
    if (!Caricato) load();
    const int16_t n = AppendRung(store);
    if (n == 0) return false;
    SectionRows& sec = rows();
    if (sec.Rows.empty()) sec.Rows = {ViewRow::empty()}, sec.Rows[0].Shown = false;
    // Rows are made only by appending; a row left over from a shorter section is made afresh.
    sec.Rows.resize(static_cast<size_t>(n), ViewRow::empty());
    sec.Rows.push_back(ViewRow::empty());
    // The slot may still hold an older record (a deleted rung, a compiled page): the row shows an empty
    // rung, so the record must be one too.
    clearRung(store.current().Rungs[static_cast<size_t>(n)]);
    descriptionChanged(n, "<...>");
    RowPitch = FullPitch;
    ScrollMax = n;
    if (n < 4) {
        ScrollValue = 0;
    } else {
        ScrollVisible = true;
        ScrollValue = std::min(ScrollValue + 1, ScrollMax);
    }
    VScroll_Change();
    return true;
}

void ProgramView::ImpostaScroll(int first) {
    SectionRows& sec = rows();
    const ProgramSection& store = ctx_.project.Program.current();
    const int count = std::min<int>(store.RungCount, static_cast<int>(sec.Rows.size()) - 1);
    for (int i = 1; i <= count; ++i) {
        ViewRow& r = sec.Rows[static_cast<size_t>(i)];
        if (store.ViewFormat == 0) {
            r.Height = FullPanelHeight;
            r.LineTextVisible = false;
            RowPitch = FullPitch;
        } else if (store.ViewFormat == 1) {
            r.Height = CompactPanelHeight;
            r.LineTextVisible = true;
            RowPitch = CompactPitch;
        }
        r.FrameHeight = r.Height + 2 * FrameMargin;
        r.Top = RowTopMargin - RowPitch;
        r.FrameTop = r.Top - FrameMargin;
    }
    // A first row that does not exist ends the layout with nothing placed.
    if (first < 0 || first > count) return;
    for (int j = first;;) {
        const ViewRow& at = sec.Rows[static_cast<size_t>(j)];
        const int bottom = at.Top + at.Height;
        if (!(j < count && bottom < MainHeight)) break;
        ++j;
        ViewRow& r = sec.Rows[static_cast<size_t>(j)];
        r.Top = RowTopMargin + RowPitch * (j - first - 1);
        r.FrameTop = r.Top - FrameMargin;
    }
}

void ProgramView::addSubroutineTab(int16_t n) {
    if (!Caricato) load();
    Tabs.push_back("Sub" + std::to_string(n));
    SectionRows& sec = section(n);
    sec.Rows = {ViewRow::empty()};
    sec.Rows[0].Shown = false;
    tabClick(n + 1);
}

void ProgramView::trimRows(int count) {
    SectionRows& sec = rows();
    if (count >= 0 && static_cast<int>(sec.Rows.size()) > count + 1)
        sec.Rows.resize(static_cast<size_t>(count) + 1);
    ScrollMax = std::max(count, 0);
    ScrollValue = std::min(ScrollValue, ScrollMax);
    changed();
}

void ProgramView::showRung(int16_t s, int16_t rung, const RungRow& content, bool withDescription) {
    if (s < 0 || s >= SectionCount || rung < 1 || rung > MaxRungs) return;
    if (!Caricato) load();
    SectionRows& sec = section(s);
    if (sec.Rows.empty()) sec.Rows = {ViewRow::empty()}, sec.Rows[0].Shown = false;
    const bool grew = sec.Rows.size() <= static_cast<size_t>(rung);
    while (sec.Rows.size() <= static_cast<size_t>(rung))
        sec.Rows.push_back(ViewRow::empty());
    ViewRow& r = sec.Rows[static_cast<size_t>(rung)];
    const std::string box = r.Content.Description;
    r.Content = content;
    if (!withDescription) r.Content.Description = box;
    const CommandRecord& rec =
        ctx_.project.Program.Sections[static_cast<size_t>(s)].Rungs[static_cast<size_t>(rung)];
    r.BreakVisible = rec.BreakFlag != 0;
    if (grew && s == ctx_.project.Program.CurrentSection) {
        // A loaded rung is appended as RidisegnaRung appends one: from the fourth on the bar shows.
        ScrollMax = rung;
        ScrollVisible = ScrollVisible || rung >= 4;
        VScroll_Change();
    }
    changed();
}

RowHit ProgramView::hitTest(int x, int y) const {
    const int s = ctx_.project.Program.CurrentSection;
    const SectionRows& sec =
        s < static_cast<int>(sections_.size()) ? sections_[static_cast<size_t>(s)] : NoRows;
    for (size_t k = 1; k < sec.Rows.size(); ++k) {
        const ViewRow& r = sec.Rows[k];
        const int rx = x - PanelLeft, ry = y - r.Top;
        if (rx < 0 || rx >= PanelWidth || ry < 0 || ry >= r.Height) continue;
        RowHit hit;
        hit.Rung = static_cast<int>(k);
        hit.Where = hitPart(r, rx, ry, hit.Slot);
        return hit;
    }
    return {};
}
