#pragma once
// The lookup-table editor without its window: the edit fields, their validation, insert or update of
// the project's tables, and the table file.
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "core/program_store.h"
#include "core/project_data.h"
#include "core/user_dialogs.h"

constexpr int TableRows = 33;

// What the edit boxes hold, as text.
struct TableEditFields {
    std::string name;
    std::string pointCount = "8";
    std::array<std::string, TableRows> inputs;
    std::array<std::string, TableRows> outputs;
    TableEditFields() {
        inputs.fill("0");
        outputs.fill("0");
    }
};

class TableEditor {
  public:
    // program: the rungs whose Linearizations need their tables' inputs to ascend; none when null.
    TableEditor(LookupTableArray& tables, int16_t& projectModified, UserDialogs& dialogs,
                const ProgramStore* program = nullptr)
        : tables_(tables), modified_(projectModified), dialogs_(dialogs), program_(program) {}

    TableEditFields fields;
    int selected = -1; // list position of the selected table, -1 for none
    LookupTable work;  // the working copy

    // Selecting a table in the list fills the boxes from it.
    void selectTable(int position);
    // The point count box changed: its whole value if 2..26, otherwise "N = 2 to 26" and nothing.
    std::optional<int> pointCountChanged();
    // Rows shown from the scroll position: those below the point count; the scroll bar past eight.
    static bool scrollBarShown(int points) { return points > 8; }

    // Validates the boxes and copies them into the working copy.
    bool LeggiTabella();
    // Adds the working copy as a new table, or updates the selected one when the name is unchanged.
    // False, after a message, when the boxes are invalid, nine tables exist and the name is new, another
    // table has the name, or a Linearization of the program uses the table and its inputs do not ascend.
    bool insertOrUpdate();
    // OK: insert or update, then the tables' memory pages; returns the list position handed back, or
    // nothing when the insert was refused (the window stays open with the user's input).
    std::optional<int> confirm(const std::function<void(LookupTableArray&)>& allocateTables);
    // Cancel: the position handed back stays as it was.
    void cancel() { modified_ = -1; }

    // The table file: asks a name, writes the working copy. A write failure is reported.
    bool saveToFile();
    // Asks a name and reads the file into the boxes; the tables change only on insert or OK.
    bool loadFromFile();

  private:
    void showWorkingCopy();
    LookupTableArray& tables_;
    int16_t& modified_;
    UserDialogs& dialogs_;
    const ProgramStore* program_;
};
