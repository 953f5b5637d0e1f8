#include "designers/ui/frm_display.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "core/app_context.h"
#include "designers/ui/designer_lists.h"
#include "program/display_compiler.h"

namespace frm_display {

namespace {
enum DisplayText { TextDisplay = 164, TextPages, TextObjects };
} // namespace

Form::Form(AppContext& ctx, QWidget* parent)
    : DesignerForm(parent), ctx_(ctx), designer_(ctx.project.Pages, ctx.project.ProjectModified, ctx.dialogs),
      lst_pages(new QListWidget), lst_objects(new QListWidget), frm_pages(new QGroupBox),
      frm_objects(new QGroupBox), frm_fields(new QGroupBox), cmd_addPage(new QPushButton("+")),
      cmd_removePage(new QPushButton("-")), cmd_add(new QPushButton("+")), cmd_remove(new QPushButton("-")),
      cmd_up(new QPushButton("^")), cmd_down(new QPushButton("v")), cmd_compile(new QPushButton("Compile")) {
    setObjectName("frm_display");
    lst_pages->setObjectName("lst_pages");
    lst_objects->setObjectName("lst_objects");
    cmd_compile->setObjectName("cmd_compile");

    auto* pagesBox = new QVBoxLayout(frm_pages);
    pagesBox->addWidget(lst_pages, 1);
    pagesBox->addLayout(buttonRow({cmd_addPage, cmd_removePage}));
    auto* objectsBox = new QVBoxLayout(frm_objects);
    objectsBox->addWidget(lst_objects, 1);
    objectsBox->addLayout(buttonRow({cmd_add, cmd_remove, cmd_up, cmd_down}));

    auto* grid = new QGridLayout;
    auto* fieldsHost = new QWidget;
    fieldsHost->setLayout(grid);
    for (int f = 0; f < DisplayObjectFields; ++f) {
        auto* e = new FieldEditor(DisplayDesigner::fields()[size_t(f)].kind, fieldsHost);
        e->commit = [this, f](const std::string& text) {
            designer_.setField(page(), object(), f, editors_[size_t(f)]->caption(), text);
            showObject();
            if (QListWidgetItem* item = lst_objects->currentItem())
                item->setText(latin1Text(designer_.objectLine(page(), object())));
        };
        grid->addWidget(e->label(), f, 0);
        grid->addWidget(e->editor(), f, 1);
        editors_[size_t(f)] = e;
    }
    grid->setRowStretch(DisplayObjectFields, 1);
    auto* scroll = new QScrollArea;
    scroll->setWidget(fieldsHost);
    scroll->setWidgetResizable(true);
    auto* fieldsBox = new QVBoxLayout(frm_fields);
    fieldsBox->addWidget(scroll);

    auto* lists = new QHBoxLayout;
    lists->addWidget(frm_pages, 1);
    lists->addWidget(frm_objects, 2);
    lists->addWidget(frm_fields, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    // The controller's layout of an object's block is not known: say so where the fields are edited.
    auto* note = new QLabel("The object fields are kept with the project; each object compiles to an empty "
                            "display block.");
    note->setObjectName("lbl_fieldsNote");
    note->setWordWrap(true);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(note, 1);
    bottom->addLayout(buttonRow({cmd_compile}));
    layout->addLayout(bottom);

    connect(lst_pages, &QListWidget::currentRowChanged, this, [this](int) { fillObjects(1); });
    connect(lst_objects, &QListWidget::currentRowChanged, this, [this](int) { showObject(); });
    connect(cmd_addPage, &QPushButton::clicked, this, [this] { cmd_addPage_Click(); });
    connect(cmd_removePage, &QPushButton::clicked, this, [this] { cmd_removePage_Click(); });
    connect(cmd_add, &QPushButton::clicked, this, [this] { cmd_add_Click(); });
    connect(cmd_remove, &QPushButton::clicked, this, [this] { cmd_remove_Click(); });
    connect(cmd_up, &QPushButton::clicked, this, [this] { cmd_move_Click(-1); });
    connect(cmd_down, &QPushButton::clicked, this, [this] { cmd_move_Click(1); });
    connect(cmd_compile, &QPushButton::clicked, this, [this] { cmd_compile_Click(); });
    resize(820, 540);
    SetRes();
    refresh();
}

void Form::SetRes() {
    const auto& t = ctx_.shell.UiText;
    setWindowTitle(latin1Text(t[TextDisplay]));
    frm_pages->setTitle(latin1Text(t[TextPages]));
    frm_objects->setTitle(latin1Text(t[TextObjects]));
    for (int f = 0; f < DisplayObjectFields; ++f)
        editors_[size_t(f)]->setCaption(fieldCaption(DisplayDesigner::fields()[size_t(f)], t));
}

int Form::page() const {
    return lst_pages->currentRow();
}

int Form::object() const {
    return lst_objects->currentRow() + 1;
}

void Form::refresh() {
    int keep = std::max(0, page());
    {
        const QSignalBlocker block(lst_pages);
        lst_pages->clear();
        for (int p = 0; p < designer_.pageCount(); ++p)
            lst_pages->addItem(QString::number(p + 1));
        lst_pages->setCurrentRow(std::min(keep, designer_.pageCount() - 1));
    }
    fillObjects(object());
}

void Form::fillObjects(int select) {
    {
        const QSignalBlocker block(lst_objects);
        lst_objects->clear();
        for (int o = 1; o <= designer_.objectCount(page()); ++o)
            lst_objects->addItem(latin1Text(designer_.objectLine(page(), o)));
        lst_objects->setCurrentRow(std::min(select, designer_.objectCount(page())) - 1);
    }
    showObject();
}

void Form::showObject() {
    bool shown = object() >= 1 && object() <= designer_.objectCount(page());
    for (int f = 0; f < DisplayObjectFields; ++f) {
        FieldEditor& e = *editors_[size_t(f)];
        e.setEnabled(shown);
        e.show(shown ? fieldText(DisplayDesigner::fields()[size_t(f)], designer_.object(page(), object()))
                     : "");
    }
    for (QPushButton* b : {cmd_remove, cmd_up, cmd_down})
        b->setEnabled(shown);
}

void Form::cmd_addPage_Click() {
    if (int p = designer_.addPage(); p >= 0) {
        refresh();
        lst_pages->setCurrentRow(p);
    }
}

void Form::cmd_removePage_Click() {
    if (int p = designer_.removePage(page()); p >= 0) {
        refresh();
        lst_pages->setCurrentRow(p);
    }
}

void Form::cmd_add_Click() {
    if (int o = designer_.addObject(page()); o > 0) fillObjects(o);
}

void Form::cmd_remove_Click() {
    if (designer_.objectCount(page()) == 0) return;
    fillObjects(std::max(1, designer_.removeObject(page(), object())));
}

void Form::cmd_move_Click(int step) {
    fillObjects(designer_.moveObject(page(), object(), step));
}

void Form::cmd_compile_Click() {
    int left = CompilaOggetti(ctx_.project.Pages, ctx_.project.Program);
    std::string text = left > 0 ? std::to_string(left) + " page(s) beyond " +
                                      std::to_string(CompiledPageLimit) + " have no program section"
                                : "Display pages compiled";
    ctx_.shell.log.LogWrite(text);
    ctx_.dialogs.messageBox(text, MsgButtons::Ok, left > 0 ? MsgIcon::Warning : MsgIcon::Information);
}

} // namespace frm_display
