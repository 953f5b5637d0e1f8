#pragma once
// Program: the program view window without its widgets. One tab per program section, one row per rung,
// the selection, the description boxes, the row format and the scroll position. The window draws this
// state and forwards the user's actions to these handlers.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/app_context.h"
#include "program/view/view_row.h"

// Where a mouse action on a row landed.
struct RowHit {
    enum Part { None, Panel, Number, Label, Function, Summary, Break, Picture, Value, Caption, Description };
    int Rung = -1;
    Part Where = None;
    int Slot = -1; // Value, Caption: argument slot 0..7
    bool selects() const {
        return Where != None && Where != Number && Where != Break && Where != Description;
    }
};

class ProgramView {
  public:
    explicit ProgramView(AppContext& ctx);

    // What the handlers ask of the rest of the program.
    std::function<void(int16_t rung)> ApriRung;       // double click: open the rung in the editor
    std::function<bool()> NuovoProgramma;             // "Close Project?" answered OK; false: keep it
    std::function<void()> popupRungMenu;              // right button pressed on a row: mnu_FB
    std::function<void()> onChanged;                  // redraw
    std::function<void(bool loaded)> onLoadedChanged; // the window must be created or destroyed

    // Form_Load / unload. Loading creates no rows.
    void load();
    void unload();
    void SetRes();

    // SelezionaRung: the old selection's frame back to button face, the new one red.
    void SelezionaRung(int16_t rung);
    void rowClick(int16_t rung);
    void rowDoubleClick(int16_t rung);
    // Any mouse button pressed on a row; button 2 is the right button.
    void rowPress(int16_t rung, int button);
    // txt_desc: the text changed (typed or set by a procedure), and a click on it.
    void descriptionChanged(int16_t rung, const std::string& text);
    void descriptionClick(int16_t rung);
    // cmd_Formato.
    void formatClick();
    // Tab_Prog: tab counted from 1.
    void tabClick(int tab);
    // The window's close box: true when the window may go.
    bool closeRequest();
    // VScroll: the value changed (clamped to 0..maximum, the rung count; the bar shows from a value above
    // 0 on), and its change handler.
    void setScroll(int value);
    void VScroll_Change();

    // RidisegnaRung: appends a rung to the current section and builds its row; false (nothing changes)
    // when the section already holds 256 rungs.
    bool RidisegnaRung();
    // ImpostaScroll: sizes every row of the current section and stacks them from rung first + 1.
    void ImpostaScroll(int first);
    // NuovaSub's part of the window: a tab "Sub"n and the container of section n, which becomes shown.
    void addSubroutineTab(int16_t n);
    // Removes the rows of the current section above `count` (the last rows of deleted rungs).
    void trimRows(int count);
    // Puts a rung's encoded presentation into its row; the rows up to it are built when missing (a loaded
    // rung). The description box is set only when asked (the encoder never changes a description).
    void showRung(int16_t section, int16_t rung, const RungRow& row, bool withDescription);

    // The rows of a section (empty when its container was never made) and of the current one.
    SectionRows& section(int s);
    SectionRows& rows() { return section(ctx_.project.Program.CurrentSection); }
    ViewRow* row(int rung); // nullptr when the current section has no such row
    // Whether the rung's row lies wholly inside the visible rung area; nothing when there is no such row.
    std::optional<bool> rowInView(int rung);
    // What lies at a point (twips, in the current section's container).
    RowHit hitTest(int x, int y) const;
    void changed() const {
        if (onChanged) onChanged();
    }

    AppContext& context() { return ctx_; }

    bool Caricato = false;
    std::string Caption;
    std::vector<std::string> Tabs; // Tab_Prog captions
    int SelectedTab = 1;
    int ScrollValue = 0, ScrollMax = 0;
    bool ScrollVisible = false;
    int FormatPicture = row_layout::FormatToCompactPicture;
    int RowPitch = row_layout::FullPitch;
    int MainHeight = 13000;   // height of the main window (twips): the layout stops there
    int VisibleHeight = 5355; // height of the rows' container (twips): what the user sees of them

  private:
    AppContext& ctx_;
    std::vector<SectionRows> sections_;
};
