#include "designers/ui/frm_scheduler.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "core/app_context.h"
#include "designers/ui/designer_lists.h"
#include "program/scheduler_compiler.h"

namespace frm_scheduler {

namespace {

enum SchedulerText {
    TextReg = 158,
    TextScheduler = 183,
    TextLifetime = 185,
    TextTime = 202,
    TextTrigger = 203
};
constexpr int MonthColumn = 1;    // the MM column of the date-time rows
constexpr int FirstMonthName = 7; // MonthNames 1..12 are the texts 7..18
constexpr int GridColumns = 6;
constexpr double PickerPoll = 0.05; // seconds between looks at the picker's hand-over

} // namespace

Form::Form(AppContext& ctx, std::function<std::shared_ptr<VarPickerHandOver>()> pickVariables,
           QWidget* parent)
    : DesignerForm(parent), ctx_(ctx), pickVariables_(std::move(pickVariables)),
      designer_(ctx.project.Tasks, ctx.project.ProjectModified, ctx.dialogs), lst_tasks(new QListWidget),
      lst_vars(new QListWidget), lst_fields(new QListWidget), cmb_type(new QComboBox),
      lbl_type(new QLabel("Type")), lbl_csv(new QLabel), frm_tasks(new QGroupBox), frm_other(new QGroupBox),
      frm_fields(new QGroupBox("Record")), cmd_add(new QPushButton("+")), cmd_remove(new QPushButton("-")),
      cmd_addField(new QPushButton(">")), cmd_removeField(new QPushButton("<")),
      Command2(new QPushButton("Set Formats")), cmd_compile(new QPushButton("Compile")) {
    setObjectName("frm_scheduler");
    lst_tasks->setObjectName("lst_tasks");
    cmb_type->setObjectName("cmb_type");
    Command2->setObjectName("Command2");
    lbl_csv->setObjectName("lbl_csv");
    lbl_csv->setWordWrap(true);
    lbl_csv->setTextInteractionFlags(Qt::TextSelectableByMouse);

    lst_tasks->setMaximumWidth(140);
    for (QListWidget* l : {lst_vars, lst_fields})
        l->setMinimumHeight(120);
    auto* tasksBox = new QVBoxLayout(frm_tasks);
    tasksBox->addWidget(lst_tasks, 1);
    tasksBox->addLayout(buttonRow({cmd_add, cmd_remove}));

    for (size_t f = 0; f < SchedulerDesigner::fields().size(); ++f) {
        auto* e = new FieldEditor(SchedulerDesigner::fields()[f].field.kind, this);
        e->commit = [this, f](const std::string& text) {
            designer_.setField(task(), int(f), editors_[f]->caption(), text);
            showTask();
        };
        editors_.push_back(e);
    }
    frm_date = buildGrid(TaskFieldGroup::DateTime, {188, 189, 190, 191, 192, 193});
    frm_interval = buildGrid(TaskFieldGroup::Interval, {179, 180, 181, 182, 177, 178});
    frm_enable = buildGrid(TaskFieldGroup::Enable, {});
    auto* other = new QGridLayout(frm_other);
    other->addWidget(lbl_type, 0, 0);
    other->addWidget(cmb_type, 0, 1);
    int row = 1;
    for (size_t f = 0; f < editors_.size(); ++f)
        if (SchedulerDesigner::fields()[f].group == TaskFieldGroup::Other) {
            other->addWidget(editors_[f]->label(), row, 0);
            other->addWidget(editors_[f]->editor(), row++, 1);
        }

    auto* pick = new QVBoxLayout;
    pick->addStretch();
    pick->addWidget(cmd_addField);
    pick->addWidget(cmd_removeField);
    pick->addStretch();
    auto* lists = new QHBoxLayout;
    lists->addWidget(lst_vars, 1);
    lists->addLayout(pick);
    lists->addWidget(lst_fields, 1);
    auto* fieldsBox = new QVBoxLayout(frm_fields);
    fieldsBox->addLayout(lists);
    fieldsBox->addLayout(buttonRow({Command2}));
    fieldsBox->addWidget(lbl_csv);

    auto* details = new QWidget;
    auto* detailsBox = new QGridLayout(details);
    detailsBox->addWidget(frm_other, 0, 0, 2, 1);
    detailsBox->addWidget(frm_date, 0, 1);
    detailsBox->addWidget(frm_interval, 1, 1);
    detailsBox->addWidget(frm_enable, 2, 0, Qt::AlignTop);
    detailsBox->addWidget(frm_fields, 2, 1);
    detailsBox->setRowStretch(3, 1);
    auto* scroll = new QScrollArea;
    scroll->setWidget(details);
    scroll->setWidgetResizable(true);

    auto* top = new QHBoxLayout;
    top->addWidget(frm_tasks);
    top->addWidget(scroll, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttonRow({cmd_compile}));

    connect(lst_tasks, &QListWidget::currentRowChanged, this, [this](int) { showTask(); });
    connect(cmd_add, &QPushButton::clicked, this, [this] { cmd_add_Click(); });
    connect(cmd_remove, &QPushButton::clicked, this, [this] { cmd_remove_Click(); });
    connect(cmb_type, &QComboBox::activated, this, [this] { cmb_type_Click(); });
    connect(cmd_addField, &QPushButton::clicked, this, [this] { cmd_addField_Click(); });
    connect(cmd_removeField, &QPushButton::clicked, this, [this] { cmd_removeField_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(cmd_compile, &QPushButton::clicked, this, [this] { cmd_compile_Click(); });
    resize(860, 600);
    SetRes();
    refresh();
}

// A grid of the group's fields, GridColumns to a row under column captions, or a caption column.
QGroupBox* Form::buildGrid(TaskFieldGroup group, const std::vector<int>& columnKeys) {
    auto* box = new QGroupBox;
    auto* grid = new QGridLayout(box);
    for (size_t c = 0; c < columnKeys.size(); ++c) {
        auto* caption = new QLabel;
        grid->addWidget(caption, 0, int(c) + 1, Qt::AlignCenter);
        columnLabels_.push_back(caption);
        columnKeys_.push_back(columnKeys[c]);
    }
    int k = 0;
    for (size_t f = 0; f < editors_.size(); ++f) {
        if (SchedulerDesigner::fields()[f].group != group) continue;
        FieldEditor& e = *editors_[f];
        if (columnKeys.empty()) {
            grid->addWidget(e.label(), k, 0);
            grid->addWidget(e.editor(), k, 1);
        } else {
            e.editor()->setMinimumWidth(36);
            e.editor()->setMaximumWidth(44);
            if (k % GridColumns == 0)
                grid->addWidget(new QLabel(QString::number(k / GridColumns + 1)), k / GridColumns + 1, 0);
            e.label()->hide(); // the column caption names it
            grid->addWidget(e.editor(), k / GridColumns + 1, k % GridColumns + 1);
        }
        ++k;
    }
    return box;
}

void Form::SetRes() {
    const auto& t = ctx_.shell.UiText;
    setWindowTitle(latin1Text(t[TextScheduler]));
    frm_tasks->setTitle(latin1Text(t[TextScheduler]));
    frm_date->setTitle(latin1Text(t[TextLifetime]));
    frm_interval->setTitle(latin1Text(t[TextTime]));
    frm_enable->setTitle(latin1Text(t[TextTrigger]));
    for (size_t c = 0; c < columnLabels_.size(); ++c)
        columnLabels_[c]->setText(latin1Text(t[size_t(columnKeys_[c])]));
    QString months;
    for (int m = 1; m <= 12; ++m)
        months += QString("%1 %2\n").arg(m).arg(latin1Text(t[size_t(FirstMonthName + m - 1)]));
    for (size_t f = 0; f < editors_.size(); ++f) {
        const TaskField& tf = SchedulerDesigner::fields()[f];
        editors_[f]->setCaption(fieldCaption(tf.field, t));
        if (tf.group == TaskFieldGroup::DateTime && f % GridColumns == MonthColumn)
            editors_[f]->editor()->setToolTip(months.trimmed());
    }
    fillTypes();
}

int Form::task() const {
    return lst_tasks->currentRow() + 1;
}

void Form::refresh() {
    int keep = std::max(1, task());
    {
        const QSignalBlocker block(lst_tasks);
        lst_tasks->clear();
        for (int t = 1; t <= designer_.taskCount(); ++t)
            lst_tasks->addItem(latin1Text(designer_.taskLine(t)));
        lst_tasks->setCurrentRow(std::min(keep, designer_.taskCount()) - 1);
    }
    fillVariables();
    frm_enable->setVisible(ctx_.model().HasTrigger != 0);
    showTask();
}

// The types the model offers, and the task's own type when a loaded task has another one.
void Form::fillTypes() {
    const QSignalBlocker block(cmb_type);
    cmb_type->clear();
    std::vector<int> types = SchedulerDesigner::offeredTypes(ctx_.model());
    bool shown = task() >= 1 && task() <= designer_.taskCount();
    int current = shown ? designer_.task(task()).TaskType : -1;
    if (shown && std::find(types.begin(), types.end(), current) == types.end()) types.push_back(current);
    for (int type : types)
        cmb_type->addItem(QString::number(type), type);
    cmb_type->setCurrentIndex(cmb_type->findData(current));
}

void Form::fillVariables() {
    lst_vars->clear();
    const VariableTable& vars = ctx_.project.Variables;
    for (int v = 0; v < vars.Count; ++v) {
        const VariableRecord& r = vars.Variables[size_t(v)];
        lst_vars->addItem(latin1Text(std::to_string(v) + ": " + r.Name + " (" + r.CsvName + ")"));
    }
}

void Form::showTask() {
    bool shown = task() >= 1 && task() <= designer_.taskCount();
    for (size_t f = 0; f < editors_.size(); ++f) {
        editors_[f]->setEnabled(shown);
        editors_[f]->show(shown ? fieldText(SchedulerDesigner::fields()[f].field, designer_.task(task()))
                                : "");
    }
    for (QWidget* w : std::initializer_list<QWidget*>{cmb_type, cmd_remove, cmd_addField, cmd_removeField})
        w->setEnabled(shown);
    fillTypes();
    const QSignalBlocker block(lst_fields);
    lst_fields->clear();
    lbl_csv->clear();
    if (!shown) return;
    const SchedulerTask& t = designer_.task(task());
    const VariableTable& vars = ctx_.project.Variables;
    for (int k = 0; k < t.FieldCount; ++k) {
        int v = t.FieldList[size_t(k)];
        std::string name = v < vars.Count ? vars.Variables[size_t(v)].Name : "?";
        lst_fields->addItem(latin1Text(std::to_string(v) + ": " + name));
    }
    if (!t.CsvHeaderLine.empty()) lbl_csv->setText("CSV: " + latin1Text(t.CsvHeaderLine));
    if (QListWidgetItem* item = lst_tasks->item(task() - 1))
        item->setText(latin1Text(designer_.taskLine(task())));
}

void Form::cmd_add_Click() {
    if (int t = designer_.addTask(SchedulerDesigner::taskLimit(ctx_.model())); t > 0) {
        refresh();
        lst_tasks->setCurrentRow(t - 1);
    }
}

void Form::cmd_remove_Click() {
    if (int t = designer_.removeTask(task()); t >= 0) {
        refresh();
        lst_tasks->setCurrentRow(t - 1);
    }
}

void Form::cmb_type_Click() {
    designer_.setType(task(), cmb_type->currentData().toInt());
    showTask();
}

void Form::cmd_addField_Click() {
    if (designer_.addField(task(), lst_vars->currentRow(), ctx_.project.Variables.Count)) {
        showTask();
        lst_fields->setCurrentRow(lst_fields->count() - 1);
    }
}

void Form::cmd_removeField_Click() {
    int k = lst_fields->currentRow();
    if (designer_.removeField(task(), k)) {
        showTask();
        lst_fields->setCurrentRow(std::min(k, lst_fields->count() - 1));
    }
}

// "Set Formats": the variables window edits the variables; their list here is filled again after it.
void Form::Command2_Click() {
    if (!pickVariables_) return;
    std::shared_ptr<VarPickerHandOver> handOver = pickVariables_();
    const QPointer<Form> self(this); // closing the program meanwhile unloads this window
    EventPump& pump = ctx_.pump;
    while (handOver && handOver->VarPickerBusy)
        pump.pausa(PickerPoll);
    if (!self) return;
    fillVariables();
    showTask();
}

void Form::cmd_compile_Click() {
    CompilaOggetti(ctx_.project.Tasks);
    ctx_.shell.log.LogWrite("Tasks compiled");
    showTask();
}

} // namespace frm_scheduler
