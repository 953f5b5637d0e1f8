#pragma once
// Registri: the register view without its window. One row per shown register (label, name, value,
// value type), a scroll position over the whole register table, and the hand-over of a clicked register
// to the function-block editor.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/register_value_text.h"

struct AppContext;

class RegisterView {
  public:
    using Row = RegisterRow;

    // Takes the register-name redraw of MappaRegistri for as long as it lives (it redraws the rows, and
    // the window when there is one).
    explicit RegisterView(AppContext& ctx);
    ~RegisterView();
    RegisterView(const RegisterView&) = delete;
    RegisterView& operator=(const RegisterView&) = delete;

    std::function<void()> load;      // creates the window when it does not exist yet
    std::function<void()> onChanged; // redraw
    // The hand-over to the function-block editor (comandi.registerClicked, which goes through the
    // editor's Caricato, ArgCorrente and ShowArg); unbound while the program has no editor.
    std::function<void(int reg, uint8_t valueType)> comandi;

    // Caption and column headers from UiText 54-58.
    void SetRes();
    // With read, first reads the shown registers from the current controller (function 4) into the
    // register table; then redraws. A failed read leaves the table's values as they were.
    void AggiornaRegistri_new(bool read);
    // The window opening and its refresh key: reads the shown registers when the controller is connected
    // and no other request or loop runs, then redraws.
    void refresh();
    // The rows from the register table: the model's registers, no row past its count.
    void Redraw();
    // The scroll bar: first shown register, kept so that every shown row is a register.
    void setFirstRegister(int first);
    // How many rows the window has room for (1..125, the most one read brings).
    void setVisibleRows(int rows);
    // A click on row i: into the editor's current argument row when that holds a register.
    void rowClick(int row);

    int firstRegister() const { return first_; }
    int lastFirstRegister() const;
    int visibleRows() const { return rows_; }

    std::string Caption;
    std::array<std::string, 4> Headers;
    std::vector<Row> Rows;

  private:
    int shownCount() const;

    AppContext& ctx_;
    int first_ = 0;
    int rows_ = 16;
};
