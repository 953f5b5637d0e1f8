#pragma once
// frm_display::Form, the window frm_display: the display page designer, a view over DisplayDesigner. Pages on
// the left, the page's objects beside them, the selected object's saved fields on the right.
#include <array>
#include <memory>

#include "designers/ui/designer_form.h"

#include "designers/display_designer.h"
#include "designers/ui/field_editor.h"

class QGroupBox;
class QListWidget;
class QPushButton;
struct AppContext;

namespace frm_display {

class Form : public DesignerForm {
    Q_OBJECT
  public:
    explicit Form(AppContext& ctx, QWidget* parent = nullptr);

    void SetRes();
    void refresh() override;

    void cmd_addPage_Click();
    void cmd_removePage_Click();
    void cmd_add_Click();
    void cmd_remove_Click();
    void cmd_move_Click(int step);
    void cmd_compile_Click();

    QListWidget* pages() const { return lst_pages; }
    QListWidget* objects() const { return lst_objects; }
    FieldEditor& field(int f) const { return *editors_[size_t(f)]; }

  private:
    int page() const;
    int object() const;
    void fillObjects(int select);
    void showObject();

    AppContext& ctx_;
    DisplayDesigner designer_;
    QListWidget *lst_pages, *lst_objects;
    QGroupBox *frm_pages, *frm_objects, *frm_fields;
    QPushButton *cmd_addPage, *cmd_removePage, *cmd_add, *cmd_remove, *cmd_up, *cmd_down, *cmd_compile;
    std::array<FieldEditor*, DisplayObjectFields> editors_{};
};

} // namespace frm_display
