#pragma once
// One row of the program view: what its controls show and where the layout put them.
#include <cstdint>
#include <optional>
#include <vector>

#include "fbeditor/rung_row.h"
#include "program/view/row_layout.h"

struct ViewRow {
    RungRow Content;           // picture, captions, values, label, function name, summary, description box
    bool BreakVisible = false; // img_Break
    bool Shown = true;         // shRung/Bordo visible; the template row 0 only while a swap uses it
    uint32_t FrameColour = row_layout::SystemButtonFace; // Bordo: red when its rung is selected
    int Top = 0;                                         // shRung top in the section container
    int Height = row_layout::FullPanelHeight;
    int FrameTop = -row_layout::FrameMargin;
    int FrameHeight = row_layout::FullPanelHeight + 2 * row_layout::FrameMargin;
    bool LineTextVisible = false; // txt_Func and txt_Var: shown in compact rows only
    std::optional<uint32_t> NumberColour; // lbl_Rung back colour the debug animation set; none: the window's

    // The look of an empty rung: no picture, no arguments, "<...>", no label, grey empty function name.
    static ViewRow empty() {
        ViewRow r;
        r.Content.Description = "<...>";
        r.Content.Colour = row_layout::LightGrey;
        return r;
    }
};

// One section's container (prog) with its rows; element 0 is the template and scratch row.
struct SectionRows {
    std::vector<ViewRow> Rows;
    bool Visible = false;
};
