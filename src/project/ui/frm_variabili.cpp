#include "project/ui/frm_variabili.h"

#include <cmath>

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/app_context.h"
#include "core/build_flags.h"
#include "platform/latin1_line.h"
#include "platform/window_fit.h"
#include "project/item_reader.h"
#include "project/presets.h"

namespace {

QString qs(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}
std::string bytes(const QString& s) {
    return s.toLatin1().toStdString();
}
// The number fields keep what was typed, whatever its characters, so that a refusal can quote it.
std::string typed(const QLineEdit* box) {
    return box->text().toUtf8().toStdString();
}
void showTyped(QLineEdit* box, const std::string& text) {
    box->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}
// The block editor shows lines; the stored text keeps CR LF between them.
// The text's Latin-1 bytes and the characters that have none (a pair of surrogates is one character).
EditedText edited(const QString& s) {
    EditedText t{bytes(s), 0};
    for (QChar c : s)
        if (c.unicode() > 0xFF && !c.isLowSurrogate()) ++t.unmapped;
    return t;
}
EditedText crlfText(const QString& s) {
    return edited(QString(s).replace(QLatin1Char('\n'), QLatin1String("\r\n")));
}
QString shownText(const std::string& s) {
    return qs(s).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

// Interface texts of the window and its column captions.
enum VarText { TextVariables = 156, TextId, TextReg, TextType, TextFormat };

constexpr std::array<const char*, 8> FieldCaptions = {
    "ID", "Label", "Trigger Reg", "Mask", "CSV Header Name", "Input Reg", "Input Type", "String ID (Alt)"};

int selectedIndex(const QTreeWidget* list) {
    const QList<QTreeWidgetItem*> chosen = list->selectedItems();
    return chosen.isEmpty() ? -1 : list->indexOfTopLevelItem(chosen.front());
}

void setShown(std::initializer_list<QWidget*> widgets, bool shown) {
    for (QWidget* w : widgets)
        w->setVisible(shown);
}

} // namespace

frm_variabili::frm_variabili(AppContext& ctx, std::shared_ptr<VarPickerHandOver> handOver, QWidget* parent)
    : QWidget(parent, DialogFlags), ctx_(ctx), handOver_(std::move(handOver)), TabStrip1(new QTabBar),
      List1(new QTreeWidget), cmd_add(new QPushButton("+")), cmd_remove(new QPushButton("-")),
      cmd_up(new QPushButton("^")), cmd_down(new QPushButton("v")),
      cmd_SysVar(new QPushButton("Set System Var")), Command1(new QPushButton("Set NW Var")),
      cmd_ok(new QPushButton("OK")), cmb_Type(new QComboBox), cmb_outFormat(new QComboBox),
      txt_Label(new QLineEdit), txt_nomeCampo(new QLineEdit), frm_format(new QGroupBox("Output Format")),
      frm_alt(new QGroupBox), chk_sign(new QCheckBox("Signed")), chk_altern(new QCheckBox("Set Altern.")),
      chk_swap(new QCheckBox("Swap")), lst_strings(new QListWidget), lst_block(new QListWidget),
      txt_stringa(new QLineEdit), txt_BlockDesc(new QLineEdit), txt_block(new QPlainTextEdit),
      cmd_SetString(new QPushButton("Set")) {
    setObjectName("frm_variabili");
    for (const char* tab : {"Variables", "Strings", "Text"})
        TabStrip1->addTab(tab);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(TabStrip1);
    textNote_ = new QLabel("Strings and text blocks are kept only on the models that hold them; this model "
                           "does not.");
    textNote_->setObjectName("lbl_textNote");
    textNote_->setWordWrap(true);
    layout->addWidget(textNote_);
    for (size_t i = 0; i < Frame.size(); ++i) {
        Frame[i] = new QWidget;
        Frame[i]->setObjectName(QString("Frame%1").arg(i + 1));
        layout->addWidget(Frame[i], 1);
    }
    buildVariablesPage(Frame[0]);
    buildStringsPage(Frame[1]);
    buildBlocksPage(Frame[2]);
    auto* closing = new QHBoxLayout;
    closing->addWidget(cmd_SysVar);
    closing->addWidget(Command1);
    closing->addStretch();
    closing->addWidget(cmd_ok);
    cmd_ok->setObjectName("cmd_ok");
    cmd_SysVar->setObjectName("cmd_SysVar");
    Command1->setObjectName("Command1");
    layout->addLayout(closing);

    connect(TabStrip1, &QTabBar::currentChanged, this, [this] { TabStrip1_Click(); });
    connect(List1, &QTreeWidget::itemSelectionChanged, this, [this] { List1_Click(); });
    connect(cmb_Type, &QComboBox::activated, this, [this] { typeChosen(); });
    connect(chk_altern, &QCheckBox::clicked, this, [this] { chk_altern_Click(); });
    for (size_t i = 0; i < scroll.size(); ++i)
        connect(scroll[i], &QScrollBar::valueChanged, this,
                [this, i](int v) { txt_scroll[i]->setText(QString::number(-v)); });
    connect(cmd_add, &QPushButton::clicked, this, [this] { cmd_add_Click(); });
    connect(cmd_remove, &QPushButton::clicked, this, [this] { cmd_remove_Click(); });
    connect(cmd_up, &QPushButton::clicked, this, [this] { cmd_up_Click(); });
    connect(cmd_down, &QPushButton::clicked, this, [this] { cmd_down_Click(); });
    for (int i = 0; i < 2; ++i)
        connect(cmd_RegistriWEB[static_cast<size_t>(i)], &QPushButton::clicked, this,
                [this, i] { cmd_RegistriWEB_Click(i); });
    connect(cmd_SetString, &QPushButton::clicked, this, [this] { cmd_SetString_Click(); });
    connect(lst_strings, &QListWidget::currentRowChanged, this, [this] { lst_strings_Click(); });
    connect(lst_block, &QListWidget::currentRowChanged, this, [this] { lst_block_Click(); });
    connect(cmd_SysVar, &QPushButton::clicked, this, [this] { cmd_SysVar_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(cmd_ok, &QPushButton::clicked, this, [this] { cmd_ok_Click(); });
    Form_Load();
}

void frm_variabili::buildVariablesPage(QWidget* page) {
    List1->setObjectName("List1");
    List1->setColumnCount(7);
    List1->setRootIsDecorated(false);
    List1->setMinimumSize(560, 200);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {cmd_add, cmd_remove, cmd_up, cmd_down}) {
        b->setFixedWidth(32);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    cmd_add->setObjectName("cmd_add");
    cmd_remove->setObjectName("cmd_remove");
    cmd_up->setObjectName("cmd_up");
    cmd_down->setObjectName("cmd_down");
    auto* top = new QHBoxLayout;
    top->addWidget(List1, 1);
    top->addLayout(buttons);

    for (size_t i = 0; i < txt_WebReg.size(); ++i) {
        txt_WebReg[i] = new QLineEdit(page);
        txt_WebReg[i]->setObjectName(QString("txt_WebReg%1").arg(i));
    }
    for (size_t i = 0; i < Label2.size(); ++i)
        Label2[i] = new QLabel(FieldCaptions[i]);
    txt_Label->setObjectName("txt_Label");
    keepLatin1Line(txt_Label);
    keepLatin1Line(txt_nomeCampo);
    txt_nomeCampo->setObjectName("txt_nomeCampo");
    cmb_Type->setObjectName("cmb_Type");
    chk_altern->setObjectName("chk_altern");
    chk_swap->setObjectName("chk_swap");
    chk_sign->setObjectName("chk_sign");
    cmb_outFormat->setObjectName("cmb_outFormat");
    auto* fields = new QGridLayout;
    fields->addWidget(Label2[0], 0, 0);
    fields->addWidget(txt_WebReg[0], 0, 1);
    fields->addWidget(Label2[6], 1, 0);
    fields->addWidget(cmb_Type, 1, 1);
    fields->addWidget(Label2[5], 2, 0);
    fields->addWidget(txt_WebReg[1], 2, 1);
    fields->addWidget(Label2[7], 3, 0);
    fields->addWidget(txt_WebReg[3], 3, 1);
    fields->addWidget(Label2[1], 4, 0);
    fields->addWidget(txt_Label, 4, 1);
    fields->addWidget(Label2[4], 5, 0);
    fields->addWidget(txt_nomeCampo, 5, 1);
    fields->addWidget(chk_swap, 6, 1);

    cmb_outFormat->addItems({"Decimal", "Exp", "Hex"});
    auto* format = new QGridLayout(frm_format);
    format->addWidget(chk_sign, 0, 0, 1, 3);
    format->addWidget(cmb_outFormat, 1, 0, 1, 3);
    const std::array<std::pair<const char*, int>, 2> ranges = {{{"Digits", -1}, {"Decimals", 0}}};
    for (size_t i = 0; i < scroll.size(); ++i) {
        scroll[i] = new QScrollBar(Qt::Horizontal);
        scroll[i]->setRange(-9, ranges[i].second);
        scroll[i]->setObjectName(QString("scroll%1").arg(i));
        txt_scroll[i] = new QLineEdit;
        txt_scroll[i]->setObjectName(QString("txt_scroll%1").arg(i));
        txt_scroll[i]->setReadOnly(true);
        txt_scroll[i]->setMaximumWidth(30);
        txt_scroll[i]->setText(QString::number(-scroll[i]->value())); // later only on a change
        format->addWidget(new QLabel(ranges[i].first), static_cast<int>(i) + 2, 0);
        format->addWidget(scroll[i], static_cast<int>(i) + 2, 1);
        format->addWidget(txt_scroll[i], static_cast<int>(i) + 2, 2);
    }
    frm_format->setObjectName("frm_format");
    auto* alt = new QGridLayout(frm_alt);
    alt->addWidget(chk_altern, 0, 0, 1, 2);
    alt->addWidget(Label2[2], 1, 0);
    alt->addWidget(txt_WebReg[4], 1, 1);
    alt->addWidget(Label2[3], 2, 0);
    alt->addWidget(txt_WebReg[5], 2, 1);
    frm_alt->setObjectName("frm_alt");
    txt_WebReg[2]->hide(); // no field of the record; the others go into the layouts

    cmd_RegistriWEB[0] = new QPushButton("Apply");
    cmd_RegistriWEB[0]->setObjectName("cmd_RegistriWEB0");
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(fields, 2);
    bottom->addWidget(frm_format, 1, Qt::AlignTop);
    bottom->addWidget(frm_alt, 1, Qt::AlignTop);
    bottom->addWidget(cmd_RegistriWEB[0], 0, Qt::AlignBottom);
    auto* v = new QVBoxLayout(page);
    v->addLayout(top, 1);
    v->addLayout(bottom);
}

void frm_variabili::buildStringsPage(QWidget* page) {
    lst_strings->setObjectName("lst_strings");
    txt_stringa->setObjectName("txt_stringa");
    cmd_SetString->setObjectName("cmd_SetString");
    auto* edit = new QHBoxLayout;
    edit->addWidget(txt_stringa, 1);
    edit->addWidget(cmd_SetString);
    auto* v = new QVBoxLayout(page);
    v->addWidget(lst_strings, 1);
    v->addLayout(edit);
}

void frm_variabili::buildBlocksPage(QWidget* page) {
    lst_block->setObjectName("lst_block");
    txt_BlockDesc->setObjectName("txt_BlockDesc");
    txt_block->setObjectName("txt_block");
    cmd_RegistriWEB[1] = new QPushButton("Apply");
    cmd_RegistriWEB[1]->setObjectName("cmd_RegistriWEB1");
    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel("Description"), 0, 0);
    fields->addWidget(txt_BlockDesc, 0, 1);
    fields->addWidget(new QLabel("Text"), 1, 0, Qt::AlignTop);
    fields->addWidget(txt_block, 1, 1);
    fields->addWidget(cmd_RegistriWEB[1], 2, 1, Qt::AlignRight);
    auto* h = new QHBoxLayout(page);
    h->addWidget(lst_block, 1);
    h->addLayout(fields, 2);
}

void frm_variabili::SetRes() {
    const auto& t = ctx_.shell.UiText;
    setWindowTitle(qs(t[TextVariables]));
    List1->setHeaderLabels(
        {qs(t[TextId]), qs(t[TextReg]), qs(t[TextType]), qs(t[TextFormat]), "Label", "", "CSV Header"});
    Label2[0]->setText(qs(t[TextId]));
    Label2[6]->setText(qs(t[TextType]));
    showTypeCaptions(); // the register and format fields are captioned by the chosen type
    Label2[1]->setText("Label");
    const PresetButtons shown = presetButtons(BuildBrand1, BuildBrand2, BuildVariant);
    cmd_SysVar->setVisible(shown.systemVar);
    Command1->setVisible(shown.nwVar);
    TabStrip1_Click();
}

void frm_variabili::Form_Load() {
    SetRes();
    const QSignalBlocker block(cmb_Type);
    cmb_Type->clear();
    for (size_t i = 0; i < TypeListData.size(); ++i)
        cmb_Type->addItem(typeListOffers(static_cast<int>(i)) ? qs(ctx_.shell.ValueTypeNames[i]) : "---",
                          TypeListData[i]);
    cmb_Type->setCurrentIndex(0);
    cmb_Type_Click();
    RiempiListaVariabili();
    RiempiListaStringhe();
    RiempiListaBlocchi(0);
}

void frm_variabili::TabStrip1_Click() {
    // A model without strings and text blocks offers their tabs disabled, with a note, never an empty page.
    const bool textPages = textPagesShown(ctx_.model().ModelName, ctx_.shell.BrandOffset);
    for (int i : {1, 2})
        TabStrip1->setTabEnabled(i, textPages);
    textNote_->setVisible(!textPages);
    const int tab = textPages ? TabStrip1->currentIndex() : 0;
    for (int i = 0; i < 3; ++i)
        Frame[static_cast<size_t>(i)]->setVisible(i == tab);
}

void frm_variabili::RiempiListaVariabili() {
    const QSignalBlocker block(List1);
    List1->clear();
    const VariableTable& vars = ctx_.project.Variables;
    for (int i = 0; i < vars.Count; ++i) {
        const VariableRecord& v = vars.Variables[static_cast<size_t>(i)];
        const std::string& type = v.ValueType < ctx_.shell.ValueTypeNames.size()
                                      ? ctx_.shell.ValueTypeNames[v.ValueType]
                                      : ctx_.shell.ValueTypeNames.back();
        List1->addTopLevelItem(new QTreeWidgetItem(qs(variableListLine(i, v, type)).split('\t')));
    }
    for (QPushButton* b : {cmd_remove, cmd_up, cmd_down})
        b->setEnabled(vars.Count != 0);
}

void frm_variabili::RiempiListaStringhe() {
    const QSignalBlocker block(lst_strings);
    lst_strings->clear();
    const int n = std::min<int>(ctx_.model().MaxStrings, static_cast<int>(ctx_.project.Strings.size()));
    for (int i = 0; i < n; ++i)
        lst_strings->addItem(qs(stringListLine(i, ctx_.project.Strings[static_cast<size_t>(i)].Text)));
}

void frm_variabili::RiempiListaBlocchi(int selected) {
    {
        const QSignalBlocker block(lst_block);
        lst_block->clear();
        const int n = std::min<int>(ctx_.model().MaxBlocks, static_cast<int>(ctx_.project.Blocks.size()));
        for (int i = 0; i < n; ++i)
            lst_block->addItem(qs(blockListLine(i, ctx_.project.Blocks[static_cast<size_t>(i)].Name)));
    }
    if (selected >= 0 && selected < lst_block->count()) {
        lst_block->setCurrentRow(selected);
        lst_block_Click();
    }
}

void frm_variabili::selectVariable(int index) {
    List1->clearSelection();
    if (QTreeWidgetItem* item = List1->topLevelItem(index)) List1->setCurrentItem(item);
}

VariableFields frm_variabili::readFields() const {
    VariableFields f;
    f.id = typed(txt_WebReg[0]);
    f.reg = typed(txt_WebReg[1]);
    f.alternate = typed(txt_WebReg[3]);
    f.trigger = typed(txt_WebReg[4]);
    f.mask = typed(txt_WebReg[5]);
    f.typeIndex = cmb_Type->currentIndex();
    f.name = bytes(txt_Label->text());
    f.csvName = bytes(txt_nomeCampo->text());
    f.alternateChecked = chk_altern->isChecked();
    f.swap = chk_swap->isChecked();
    f.format = {chk_sign->isChecked(), -scroll[0]->value(), -scroll[1]->value(),
                cmb_outFormat->currentIndex()};
    return f;
}

void frm_variabili::showFields(const VariableFields& f) {
    showTyped(txt_WebReg[0], f.id);
    showTyped(txt_WebReg[1], f.reg);
    showTyped(txt_WebReg[3], f.alternate);
    showTyped(txt_WebReg[4], f.trigger);
    showTyped(txt_WebReg[5], f.mask);
    cmb_Type->setCurrentIndex(f.typeIndex);
    txt_Label->setText(qs(f.name));
    txt_nomeCampo->setText(qs(f.csvName));
    chk_swap->setChecked(f.swap);
    chk_sign->setChecked(f.format.sign);
    cmb_outFormat->setCurrentIndex(f.format.kind);
    scroll[0]->setValue(-f.format.digits);
    scroll[1]->setValue(-f.format.decimals);
}

void frm_variabili::List1_Click() {
    const QList<QTreeWidgetItem*> chosen = List1->selectedItems();
    if (chosen.isEmpty()) return;
    showFields(
        fieldsOfVariable(ctx_.project.Variables, List1->indexOfTopLevelItem(chosen.front()), readFields()));
    cmb_Type_Click();
}

void frm_variabili::typeChosen() {
    showFields(fieldsForType(ctx_.project.Variables, readFields(), typeShown_));
    cmb_Type_Click();
}

void frm_variabili::cmb_Type_Click() {
    typeShown_ = cmb_Type->currentIndex();
    const TypeLayout l = typeLayout(typeShown_);
    setShown({txt_WebReg[1], txt_WebReg[3], txt_WebReg[4], txt_WebReg[5], Label2[2], Label2[3], Label2[5],
              Label2[7], chk_altern, frm_alt, frm_format},
             false);
    setShown({txt_WebReg[1], Label2[5]}, l.reg);
    setShown({txt_WebReg[3], Label2[7]}, l.alternate);
    setShown({frm_format}, l.format);
    setShown({frm_alt, chk_altern, txt_WebReg[4], txt_WebReg[5], Label2[2], Label2[3]}, l.altFrame);
    setShown({chk_swap}, l.swap);
    txt_Label->setVisible(l.label);
    showTypeCaptions();
    if (l.altFrame) {
        chk_altern->setChecked(txt_WebReg[5]->text() != "0");
        chk_altern_Click();
    }
}

void frm_variabili::showTypeCaptions() {
    const TypeLayout l = typeLayout(cmb_Type->currentIndex());
    Label2[5]->setText(qs(l.regCaption));
    Label2[7]->setText(qs(l.alternateCaption));
}

void frm_variabili::chk_altern_Click() {
    if (chk_altern->isHidden()) return;
    setShown({txt_WebReg[3], txt_WebReg[4], txt_WebReg[5], Label2[7], Label2[2], Label2[3]},
             chk_altern->isChecked());
}

void frm_variabili::cmd_add_Click() {
    const int k = addVariable(ctx_.project.Variables, ctx_.model(), ctx_.project.ProjectModified);
    if (k < 0) return;
    RiempiListaVariabili();
    selectVariable(k);
}

void frm_variabili::cmd_remove_Click() {
    if (ctx_.project.Variables.Count == 0) return;
    const int next =
        removeVariable(ctx_.project.Variables, selectedIndex(List1), ctx_.project.ProjectModified);
    RiempiListaVariabili();
    selectVariable(next);
}

void frm_variabili::cmd_up_Click() {
    const int next =
        moveVariableUp(ctx_.project.Variables, selectedIndex(List1), ctx_.project.ProjectModified);
    RiempiListaVariabili();
    selectVariable(next);
}

void frm_variabili::cmd_down_Click() {
    const int next =
        moveVariableDown(ctx_.project.Variables, selectedIndex(List1), ctx_.project.ProjectModified);
    RiempiListaVariabili();
    selectVariable(next);
}

void frm_variabili::cmd_RegistriWEB_Click(int index) {
    if (index == 1) {
        const int j = lst_block->currentRow();
        if (setBlock(ctx_.project.Blocks, j, edited(txt_BlockDesc->text()),
                     crlfText(txt_block->toPlainText()), ctx_.model(), ctx_.dialogs,
                     ctx_.project.ProjectModified))
            RiempiListaBlocchi(j);
        return;
    }
    VariableFields f = readFields();
    const bool applied = applyVariableFields(ctx_.project.Variables, f, ctx_.model(), ctx_.dialogs,
                                             ctx_.project.ProjectModified);
    showTyped(txt_WebReg[3], f.alternate);
    if (!applied) return;
    RiempiListaVariabili();
    selectVariable(static_cast<int>(std::nearbyint(parseNumber(f.id).value_or(-1))));
}

void frm_variabili::cmd_SetString_Click() {
    const int i = lst_strings->currentRow();
    if (!setStringText(ctx_.project.Strings, i, edited(txt_stringa->text()), ctx_.dialogs,
                       ctx_.project.ProjectModified))
        return;
    RiempiListaStringhe();
    const QSignalBlocker block(lst_strings);
    lst_strings->setCurrentRow(i);
}

void frm_variabili::lst_strings_Click() {
    const int i = lst_strings->currentRow();
    if (i >= 0 && i < static_cast<int>(ctx_.project.Strings.size()))
        txt_stringa->setText(qs(ctx_.project.Strings[static_cast<size_t>(i)].Text));
}

void frm_variabili::lst_block_Click() {
    const int i = lst_block->currentRow();
    if (i < 0 || i >= static_cast<int>(ctx_.project.Blocks.size())) return;
    txt_BlockDesc->setText(qs(ctx_.project.Blocks[static_cast<size_t>(i)].Name));
    txt_block->setPlainText(shownText(ctx_.project.Blocks[static_cast<size_t>(i)].Text));
}

void frm_variabili::cmd_SysVar_Click() {
    if (presetSystemVariables(ctx_.project.Variables, ctx_.dialogs, ctx_.project.ProjectModified))
        RiempiListaVariabili();
}

void frm_variabili::Command1_Click() {
    presetMeterVariables(ctx_.project.Variables, ctx_.project.ProjectModified);
    RiempiListaVariabili();
}

void frm_variabili::cmd_ok_Click() {
    ctx_.project.ProjectModified = -1;
    if (handOver_) {
        handOver_->VarPickerResult = static_cast<int16_t>(selectedIndex(List1));
        handOver_->VarPickerBusy = 0;
    }
    confirmed_ = true;
    close();
}

void frm_variabili::closeEvent(QCloseEvent* event) {
    // Closed without OK: a waiting caller goes on, with no variable chosen.
    if (!confirmed_ && handOver_ && handOver_->VarPickerBusy) {
        handOver_->VarPickerResult = -1;
        handOver_->VarPickerBusy = 0;
    }
    event->accept();
}
