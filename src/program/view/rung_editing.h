#pragma once
// Rung editing: the operations that change the list of rungs of the current section, keeping the
// program view's rows in step with the records. Positions are rung numbers of the current section.
// Every operation refuses positions outside the section's rungs and leaves section and rows unchanged.
#include <cstdint>
#include <functional>

#include "program/view/program_view.h"

// What rung editing asks of the function-block editor.
struct EditorLink {
    // Steps 2..6 of ApriRung: fill the editor from rung p of the current section and show it.
    std::function<void(int16_t p)> open;
    // The editor's Add: encode the rung it holds; false when it refused it (on "Error: Check Values" the
    // editor stays open).
    std::function<bool()> add;
};

struct RungEditing {
    ProgramView& view;
    EditorLink editor;

    AppContext& ctx() { return view.context(); }
    ProgramStore& store() { return view.context().project.Program; }
};

void CopiaRecordRung(RungEditing& e, int s, int d);
void CopiaInClipboard(RungEditing& e, int p);
void ApriRung(RungEditing& e, int16_t p);
void CancellaRung(RungEditing& e, int p);
void InserisciRung(RungEditing& e, int p);
void SpostaSu(RungEditing& e, int p);
void SpostaGiu(RungEditing& e, int p);
void CopiaRung(RungEditing& e, int p);
void IncollaRung(RungEditing& e, int p);
// Puts the restore buffer's rung back at its position (later rungs move down) and re-encodes it; false
// when refused (nothing to restore, or the section is full).
bool RipristinaRung(RungEditing& e);
// Adds and opens a subroutine section; false when four subroutines exist already.
bool NuovaSub(RungEditing& e);

// The commands of the toolbar keys and menu items, with their guards. Each one that changes the program
// marks the project modified.
// "rung_del": asks "Delete Function Block ?" first.
void DeleteCommand(RungEditing& e);
// "rung_add_before" / "rung_add_after": append an empty row, then shift; false when the section is full.
bool InsertBeforeCommand(RungEditing& e);
bool InsertAfterCommand(RungEditing& e);
void MoveUpCommand(RungEditing& e);
void MoveDownCommand(RungEditing& e);
void PasteCommand(RungEditing& e);
void NewSubCommand(RungEditing& e);
// The breakpoint toggle: inverts the current rung's break flag, shows or hides its mark, marks the
// project modified.
void ToggleBreakpoint(RungEditing& e);
