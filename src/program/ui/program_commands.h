#pragma once
// The program view and rung editing as the main window offers them: one program view model for the
// run, its window inside the MDI area, the toolbar keys and menu items of rung editing, and new project
// and close program.
#include <functional>
#include <QPointer>
#include <QWidget>
#include <string>
#include <utility>
#include <vector>

#include "program/view/project_lifecycle.h"
#include "program/view/rung_editing.h"

class LanguageSwitch;
class comandi;
class QMdiArea;
class QMdiSubWindow;
class ProgramWindow;
struct RungRow;

class ProgramCommands {
  public:
    using Commands = std::vector<std::pair<std::string, std::function<void()>>>;

    explicit ProgramCommands(AppContext& ctx);
    ~ProgramCommands();

    // The MDI area the program view window lives in; without one the window is a top-level window.
    void setHost(QMdiArea* area) { host_ = area; }
    // The language switch that refreshes the captions of the program view and the editor while they are
    // loaded; nullptr before the switch goes.
    void setLanguages(LanguageSwitch* languages) { languages_ = languages; }
    // Shows the main window's rung menu (mnu_FB) at the mouse position.
    void setRungMenu(std::function<void()> popup) { view.popupRungMenu = std::move(popup); }
    // The function-block editor: opening a rung and its Add. Without one, restore re-encodes the rung
    // from its stored texts.
    void setEditor(EditorLink link);
    // The editor window comandi, created on first use beside the program view; its encodings redraw rows.
    void useEditorWindow();
    comandi* editorWindow();
    // Unloads the editor window, if loaded, and the picker it waits for.
    void unloadEditor();

    bool NuovoProgramma() { return ::NuovoProgramma(life); }
    void NuovoProgetto() { ::NuovoProgetto(life); }
    // The View menu's "Program": show the window, then lay the rows out from the selected rung.
    void showProgram();
    // Shows the window with the rows laid out from rung first + 1.
    void showProgramFrom(int first);
    // A rung the encoder or the project reader wrote: its row shows it.
    void rowWritten(int16_t section, int16_t rung, const RungRow& row, bool withDescription);

    // The project reader's rung: re-encoded from its stored texts and shown in its row with its
    // description; false when it could not be encoded (its row then shows it as an empty rung).
    bool rebuildLoadedRung(int16_t section, int16_t rung);

    // Toolbar keys and menu items with their commands.
    Commands toolbarCommands();
    Commands menuCommands();

    ProgramWindow* window() const;
    // What the window sits in: its MDI sub-window, or the window itself; nullptr while not loaded.
    QWidget* frame() const { return frame_; }

    // The register view's refresh, which ends every encoding the user makes (the editor's Add, restore).
    std::function<void()> refreshRegisters;

    ProgramView view;
    RungEditing editing;
    ProjectLifecycle life;

  private:
    void loadedChanged(bool loaded);
    void createWindow();
    bool restoreWithoutEditor();
    // A rung the editor refused: it stays not encoded, and its row says so with its function and label.
    void showNotEncoded(int16_t section, int16_t rung);
    // Moves the editor's window off the row of the rung it edits, where the area has room for it.
    void keepRungInSight(int16_t rung);

    AppContext& ctx_;
    QMdiArea* host_ = nullptr;
    LanguageSwitch* languages_ = nullptr;
    QPointer<QWidget> frame_; // the MDI sub-window, or the window itself without a host
    QPointer<ProgramWindow> window_;
    QPointer<comandi> editor_;
};
