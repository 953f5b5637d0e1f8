#pragma once
// frm_scheduler::Form, the window frm_scheduler: the scheduler and logger task designer, a view over
// SchedulerDesigner. Tasks on the left; the selected task's type, times, options, enable condition and
// recorded variables on the right.
#include <functional>
#include <memory>
#include <vector>

#include "designers/ui/designer_form.h"

#include "designers/scheduler_designer.h"
#include "designers/ui/field_editor.h"
#include "project/ui/var_picker_hand_over.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
struct AppContext;

namespace frm_scheduler {

class Form : public DesignerForm {
    Q_OBJECT
  public:
    // pickVariables shows the variables window as a picker and hands back its hand-over.
    Form(AppContext& ctx, std::function<std::shared_ptr<VarPickerHandOver>()> pickVariables,
         QWidget* parent = nullptr);

    void SetRes();
    void refresh() override;

    void cmd_add_Click();
    void cmd_remove_Click();
    void cmb_type_Click();
    void cmd_addField_Click();
    void cmd_removeField_Click();
    void Command2_Click();
    void cmd_compile_Click();

    QListWidget* tasks() const { return lst_tasks; }
    QListWidget* variables() const { return lst_vars; }
    QListWidget* recorded() const { return lst_fields; }
    QComboBox* type() const { return cmb_type; }
    FieldEditor& field(int f) const { return *editors_[size_t(f)]; }

  private:
    int task() const;
    void showTask();
    void fillTypes();
    void fillVariables();
    QGroupBox* buildGrid(TaskFieldGroup group, const std::vector<int>& columnKeys);

    AppContext& ctx_;
    std::function<std::shared_ptr<VarPickerHandOver>()> pickVariables_;
    SchedulerDesigner designer_;
    QListWidget *lst_tasks, *lst_vars, *lst_fields;
    QComboBox* cmb_type;
    QLabel *lbl_type, *lbl_csv;
    QGroupBox *frm_tasks, *frm_date, *frm_interval, *frm_other, *frm_enable, *frm_fields;
    QPushButton *cmd_add, *cmd_remove, *cmd_addField, *cmd_removeField, *Command2, *cmd_compile;
    std::vector<FieldEditor*> editors_;
    std::vector<QLabel*> columnLabels_;
    std::vector<int> columnKeys_;
};

} // namespace frm_scheduler
