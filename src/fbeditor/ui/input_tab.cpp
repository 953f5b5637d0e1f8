#include "fbeditor/ui/input_tab.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "core/app_context.h"
#include "fbeditor/ui/state_view.h"
#include "platform/latin1_line.h"
#include "platform/window_fit.h"
#include "program/table_pages.h"

namespace {

// Interface texts of the editor: window, frames, labels and file buttons.
enum TabText {
    TextTables = 80,
    TextTable,
    TextName,
    TextPoints,
    TextPointList,
    TextTableList,
    TextLoad,
    TextSave
};

} // namespace

Input_Tab::Input_Tab(AppContext& ctx, std::shared_ptr<DialogHandOver> handOver, QWidget* parent)
    : QWidget(parent, DialogFlags), ctx_(ctx), handOver_(std::move(handOver)),
      editor_(ctx.project.Tables, ctx.project.ProjectModified, ctx.dialogs, &ctx.project.Program),
      Frame1(new QGroupBox), f_tabella(new QGroupBox), f_Tab(new QGroupBox), lbl_nome(new QLabel),
      Label2(new QLabel), ListaTab(new QListWidget), txt_NomeTab(new QLineEdit), txt_Npunti(new QLineEdit),
      VScroll1(new QScrollBar), cmd_Insert(new QPushButton("Insert")), cmd_Load(new QPushButton),
      cmd_Save(new QPushButton) {
    setObjectName("Input_Tab");
    ListaTab->setObjectName("ListaTab");
    txt_NomeTab->setObjectName("txt_NomeTab");
    txt_Npunti->setObjectName("txt_Npunti");
    cmd_Insert->setObjectName("cmd_Insert");
    cmd_Load->setObjectName("cmd_Load");
    cmd_Save->setObjectName("cmd_Save");

    auto* listLayout = new QVBoxLayout(Frame1);
    listLayout->addWidget(ListaTab);
    ListaTab->setMinimumWidth(140);

    auto* fields = new QGridLayout;
    fields->addWidget(lbl_nome, 0, 0);
    fields->addWidget(txt_NomeTab, 0, 1);
    fields->addWidget(Label2, 1, 0);
    fields->addWidget(txt_Npunti, 1, 1);
    txt_Npunti->setMaximumWidth(60);
    auto* tableLayout = new QVBoxLayout(f_tabella);
    tableLayout->addLayout(fields);
    tableLayout->addWidget(f_Tab);
    auto* pointLayout = new QHBoxLayout(f_Tab);
    pointLayout->addWidget(buildPointPanel(), 1);
    pointLayout->addWidget(VScroll1);

    auto* fileButtons = new QHBoxLayout;
    fileButtons->addWidget(cmd_Insert);
    fileButtons->addStretch();
    fileButtons->addWidget(cmd_Load);
    fileButtons->addWidget(cmd_Save);
    tableLayout->addLayout(fileButtons);

    auto* ok = new QPushButton("OK");
    auto* cancel = new QPushButton("Annulla");
    ok->setObjectName("cmd_ok1");
    cancel->setObjectName("cmd_ok0");
    ok->setDefault(true);
    auto* closing = new QHBoxLayout;
    closing->addStretch();
    closing->addWidget(ok);
    closing->addWidget(cancel);

    auto* top = new QHBoxLayout;
    top->addWidget(Frame1);
    top->addWidget(f_tabella, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(closing);

    connect(ListaTab, &QListWidget::currentRowChanged, this, &Input_Tab::ListaTab_Click);
    keepLatin1Line(txt_NomeTab);
    connect(txt_NomeTab, &QLineEdit::textEdited, this,
            [this](const QString& t) { editor_.fields.name = bytes(t); });
    // The count is checked once typed, not at every key: "1" on the way to "12" is no error.
    connect(txt_Npunti, &QLineEdit::textEdited, this,
            [this](const QString& t) { editor_.fields.pointCount = bytes(t); });
    connect(txt_Npunti, &QLineEdit::editingFinished, this, &Input_Tab::txt_Npunti_Change);
    connect(VScroll1, &QScrollBar::valueChanged, this, &Input_Tab::VScroll1_Change);
    connect(cmd_Insert, &QPushButton::clicked, this, &Input_Tab::cmd_Insert_Click);
    connect(cmd_Load, &QPushButton::clicked, this, &Input_Tab::cmd_Load_Click);
    connect(cmd_Save, &QPushButton::clicked, this, &Input_Tab::cmd_Save_Click);
    connect(ok, &QPushButton::clicked, this, [this] { cmd_ok_Click(1); });
    connect(cancel, &QPushButton::clicked, this, [this] { cmd_ok_Click(0); });
}

Input_Tab::~Input_Tab() {
    handOver_->DialogBusy = false;
}

QWidget* Input_Tab::buildPointPanel() {
    auto* panel = new QWidget;
    auto* rows = new QVBoxLayout(panel);
    rows->setSpacing(0);
    rows->setContentsMargins(0, 0, 0, 0);
    auto* heading = new QHBoxLayout;
    heading->addSpacing(36);
    heading->addWidget(new QLabel("Input"), 1);
    heading->addWidget(new QLabel("Output"), 1);
    rows->addLayout(heading);
    for (int r = 0; r < TableRows; ++r) {
        auto* row = new QWidget;
        row->setAutoFillBackground(true);
        QPalette p = row->palette();
        p.setColor(QPalette::Window, fromBgr(r % 2 == 0 ? 0xE0E0E0 : 0xF0F0F0));
        row->setPalette(p);
        auto* line = new QHBoxLayout(row);
        line->setContentsMargins(4, 2, 4, 2);
        auto* number = new QLabel(QString::number(r + 1));
        number->setFixedWidth(28);
        auto* a = new QLineEdit("0");
        auto* b = new QLineEdit("0");
        a->setObjectName(QString("txt_TabA%1").arg(r));
        b->setObjectName(QString("txt_TabB%1").arg(r));
        line->addWidget(number);
        line->addWidget(a, 1);
        line->addWidget(b, 1);
        connect(a, &QLineEdit::textEdited, this,
                [this, r](const QString& t) { editor_.fields.inputs[static_cast<size_t>(r)] = bytes(t); });
        connect(b, &QLineEdit::textEdited, this,
                [this, r](const QString& t) { editor_.fields.outputs[static_cast<size_t>(r)] = bytes(t); });
        pTab[static_cast<size_t>(r)] = row;
        txt_TabA[static_cast<size_t>(r)] = a;
        txt_TabB[static_cast<size_t>(r)] = b;
        rows->addWidget(row);
    }
    rows->addStretch();
    return panel;
}

const std::string& Input_Tab::text(int k) const {
    static const std::string none;
    return k >= 0 && k < UiTextCount ? ctx_.shell.UiText[static_cast<size_t>(k)] : none;
}

void Input_Tab::SetRes() {
    setWindowTitle(latin1(text(TextTables)));
    f_tabella->setTitle(latin1(text(TextTable)));
    lbl_nome->setText(latin1(text(TextName)));
    Label2->setText(latin1(text(TextPoints)));
    f_Tab->setTitle(latin1(text(TextPointList)));
    Frame1->setTitle(latin1(text(TextTableList)));
    cmd_Load->setText(latin1(text(TextLoad)));
    cmd_Save->setText(latin1(text(TextSave)));
}

void Input_Tab::Form_Load() {
    SetRes();
    fillList();
    showFields();
    ListaTab_Click(NomeTabella);
    {
        const QSignalBlocker block(ListaTab);
        ListaTab->setCurrentRow(editor_.selected);
    }
    show();
    raise();
    activateWindow();
}

void Input_Tab::fillList() {
    const QSignalBlocker block(ListaTab);
    ListaTab->clear();
    const LookupTableArray& t = ctx_.project.Tables;
    for (int n = 0; n < t.Count && n < MaxLookupTables; ++n)
        ListaTab->addItem(latin1(t.Tables[static_cast<size_t>(n)].Name));
    ListaTab->setCurrentRow(editor_.selected);
}

void Input_Tab::showFields() {
    const TableEditFields& f = editor_.fields;
    txt_NomeTab->setText(latin1(f.name));
    txt_Npunti->setText(latin1(f.pointCount));
    for (size_t r = 0; r < TableRows; ++r) {
        txt_TabA[r]->setText(latin1(f.inputs[r]));
        txt_TabB[r]->setText(latin1(f.outputs[r]));
    }
    txt_Npunti_Change();
}

void Input_Tab::ListaTab_Click(int position) {
    if (position < 0 || position >= ctx_.project.Tables.Count) return;
    editor_.selectTable(position);
    showFields();
}

void Input_Tab::txt_Npunti_Change() {
    auto n = editor_.pointCountChanged();
    if (!n) return;
    points_ = *n;
    const QSignalBlocker block(VScroll1);
    VScroll1->setRange(0, std::max(0, *n - VisibleRows));
    VScroll1->setPageStep(VisibleRows);
    VScroll1->setVisible(TableEditor::scrollBarShown(*n));
    VScroll1->setValue(0);
    VScroll1_Change();
}

bool Input_Tab::rowShown(int row) const {
    return !pTab[static_cast<size_t>(row)]->isHidden();
}

void Input_Tab::VScroll1_Change() {
    const int top = VScroll1->value();
    for (int r = 0; r < TableRows; ++r)
        pTab[static_cast<size_t>(r)]->setVisible(r >= top && r < points_ && r < top + VisibleRows);
}

void Input_Tab::cmd_Insert_Click() {
    if (editor_.insertOrUpdate()) fillList();
}

void Input_Tab::cmd_Load_Click() {
    if (editor_.loadFromFile()) showFields();
}

void Input_Tab::cmd_Save_Click() {
    editor_.saveToFile();
}

void Input_Tab::cmd_ok_Click(int index) {
    if (index == 1) {
        // A refused insert keeps the window open with what the user typed.
        auto position = editor_.confirm(AllocaTabelle);
        if (!position) return;
        NomeTabella = static_cast<int16_t>(*position);
    } else {
        editor_.cancel();
    }
    close();
}

void Input_Tab::closeEvent(QCloseEvent* event) {
    handOver_->DialogBusy = false;
    event->accept();
}
