#include "fbeditor/ui/comandi.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

#include "fbeditor/ui/input_box.h"
#include "fbeditor/ui/input_tab.h"
#include "fbeditor/ui/state_view.h"
#include "platform/latin1_line.h"
#include "platform/window_fit.h"

namespace {

// The function buttons' grid: five rows of three, as the catalogue places them.
constexpr int OptionWidth = 150, OptionHeight = 34, OptionPitchX = 156, OptionPitchY = 40;
constexpr int GridRows = 5, GridColumns = 3;
constexpr int TriggerRow = ArgumentRowCount; // index 8 of the value, type and Set controls

QString optionStyle(uint32_t colour) {
    return QString("QPushButton { background-color: %1; color: black; border: 1px solid #7a7a7a;"
                   " border-radius: 3px; padding: 2px 4px; }"
                   "QPushButton:hover { border-color: #303030; }"
                   "QPushButton:checked { border: 2px solid #1b3f7a; font-weight: bold; }")
        .arg(fromBgr(colour).name());
}

void setTextIfChanged(QLineEdit& box, const std::string& text) {
    if (box.text() != latin1(text)) box.setText(latin1(text));
}

bool isEnter(QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

QComboBox* editableCombo(const QString& name) {
    auto* box = new QComboBox;
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    return box;
}

} // namespace

comandi::comandi(AppContext& ctx, QWidget* parent)
    : QWidget(parent, parent ? Qt::Widget : Qt::Window), ctx_(ctx), editor_(ctx),
      handOver_(std::make_shared<DialogHandOver>()) {
    setObjectName("comandi");
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(buildFunctions());
    layout->addWidget(buildArguments(), 1);
    editor_.rowWritten = [this](int16_t section, int16_t rung, const RungRow& row) {
        if (rungEncoded) rungEncoded(section, rung, row);
    };
}

comandi::~comandi() {
    delete picker_; // releases a caller still waiting on it
}

QGroupBox* comandi::buildFunctions() {
    f_Funzioni = new QGroupBox;
    f_Funzioni->setObjectName("f_Funzioni");
    Tab_Funzioni = new QTabBar;
    Tab_Funzioni->setObjectName("Tab_Funzioni");
    Tab_Funzioni->setExpanding(false);
    // Every category tab stays readable: the window is never narrower than the whole strip.
    Tab_Funzioni->setUsesScrollButtons(false);
    Tab_Funzioni->setElideMode(Qt::ElideNone);
    Tab_Funzioni->setStyleSheet("QTabBar::tab { padding: 3px 5px; }"); // narrow enough for every tab
    for (std::string_view t : TabCaptions)
        Tab_Funzioni->addTab(QString::fromLatin1(t.data(), static_cast<qsizetype>(t.size())));
    connect(Tab_Funzioni, &QTabBar::currentChanged, this,
            [this](int index) { Tab_Funzioni_Click(index + 1); });

    auto* grid = new QWidget;
    grid->setFixedSize(OptionPitchX * (GridColumns - 1) + OptionWidth,
                       OptionPitchY * (GridRows - 1) + OptionHeight);
    for (int k = 0; k < CatalogueSize; ++k) {
        auto* b = new QPushButton(grid);
        b->setObjectName(QString("opt_Funzione%1").arg(k));
        b->setCheckable(true);
        b->setFocusPolicy(Qt::TabFocus);
        b->resize(OptionWidth, OptionHeight);
        b->hide();
        connect(b, &QPushButton::clicked, this, [this, k] { opt_Funzione_Click(k); });
        opt_Funzione[static_cast<size_t>(k)] = b;
    }
    auto* v = new QVBoxLayout(f_Funzioni);
    v->addWidget(Tab_Funzioni);
    v->addSpacing(6);
    v->addWidget(grid);
    v->addStretch();
    return f_Funzioni;
}

void comandi::buildRow(int i) {
    const size_t n = static_cast<size_t>(i);
    lbl_Var[n] = new QLabel;
    txt_Var[n] = editableCombo(QString("txt_Var%1").arg(i));
    txt_Var[n]->setMinimumWidth(140);
    cmd_Set[n] = new QPushButton("Set");
    cmd_Set[n]->setObjectName(QString("cmd_Set%1").arg(i));
    cmd_Set[n]->setFixedWidth(44);
    txt_Opt[n] = new QComboBox;
    txt_Opt[n]->setObjectName(QString("txt_Opt%1").arg(i));
    txt_Opt[n]->setMinimumWidth(110);
    chk_swap[n] = new QCheckBox("Swap");
    chk_swap[n]->setObjectName(QString("chk_swap%1").arg(i));
    for (QWidget* w : {static_cast<QWidget*>(lbl_Var[n]), static_cast<QWidget*>(txt_Var[n]),
                       static_cast<QWidget*>(cmd_Set[n]), static_cast<QWidget*>(txt_Opt[n]),
                       static_cast<QWidget*>(chk_swap[n])}) {
        QSizePolicy p = w->sizePolicy();
        p.setRetainSizeWhenHidden(true); // rows keep their places as rows come and go
        w->setSizePolicy(p);
        w->hide();
    }
    connect(txt_Var[n]->lineEdit(), &QLineEdit::textEdited, this,
            [this, i](const QString& t) { editor_.setRowText(i, bytes(t)); });
    connect(txt_Var[n], &QComboBox::activated, this, [this, i](int entry) { txt_Var_Click(i, entry); });
    connect(txt_Opt[n], &QComboBox::activated, this, [this, i](int entry) { txt_Opt_Click(i, entry); });
    connect(cmd_Set[n], &QPushButton::clicked, this, [this, i] { cmd_Set_Click(i); });
    for (QObject* o : {static_cast<QObject*>(txt_Var[n]), static_cast<QObject*>(txt_Var[n]->lineEdit()),
                       static_cast<QObject*>(txt_Opt[n])}) {
        o->setProperty("argRow", i);
        o->installEventFilter(this);
    }
}

QGroupBox* comandi::buildArguments() {
    f_argomenti = new QGroupBox;
    f_argomenti->setObjectName("f_argomenti");
    lbl_nomeFunz = new QLabel;
    lbl_nomeFunz->setObjectName("lbl_nomeFunz");
    QFont big = lbl_nomeFunz->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.25);
    lbl_nomeFunz->setFont(big);

    auto* rows = new QGridLayout;
    rows->setColumnStretch(1, 1);
    rows->setColumnMinimumWidth(0, 110); // captions keep one column as functions change
    for (int i = 0; i < ArgumentRowCount; ++i) {
        buildRow(i);
        const size_t n = static_cast<size_t>(i);
        rows->addWidget(lbl_Var[n], i, 0);
        rows->addWidget(txt_Var[n], i, 1);
        rows->addWidget(cmd_Set[n], i, 2);
        rows->addWidget(txt_Opt[n], i, 3);
        rows->addWidget(chk_swap[n], i, 4);
    }

    frm_trig = new QGroupBox("Trigger");
    frm_trig->setObjectName("frm_trig");
    chk_trig = new QCheckBox("En");
    chk_trig->setObjectName("chk_trig");
    lbl_Var[TriggerRow] = new QLabel("Reg");
    lbl_Var[TriggerRow + 1] = new QLabel("Mask");
    txt_Var[TriggerRow] = editableCombo("txt_Var8");
    txt_Opt[TriggerRow] = editableCombo("txt_Opt8");
    // The trigger row has no descriptor and so no picker.
    cmd_Set[TriggerRow] = new QPushButton("Set");
    cmd_Set[TriggerRow]->setObjectName("cmd_Set8");
    cmd_Set[TriggerRow]->setEnabled(false);
    cmd_Set[TriggerRow]->setFixedWidth(44);
    auto* trig = new QHBoxLayout(frm_trig);
    trig->addWidget(chk_trig);
    trig->addWidget(lbl_Var[TriggerRow]);
    trig->addWidget(txt_Var[TriggerRow], 1);
    trig->addWidget(lbl_Var[TriggerRow + 1]);
    trig->addWidget(txt_Opt[TriggerRow], 1);
    trig->addWidget(cmd_Set[TriggerRow]);
    connect(chk_trig, &QCheckBox::toggled, this, [this](bool on) { editor_.state.TriggerChecked = on; });
    connect(txt_Var[TriggerRow]->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& t) { editor_.state.TriggerRegister.setText(bytes(t)); });
    connect(txt_Opt[TriggerRow]->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& t) { editor_.state.TriggerMask.setText(bytes(t)); });

    txt_Label = new QLineEdit;
    keepLatin1Line(txt_Label);
    txt_Label->setObjectName("txt_Label");
    txt_delay = new QLineEdit;
    txt_delay->setObjectName("txt_delay");
    txt_delay->setMaximumWidth(80);
    lbl_Delay = new QLabel;
    lbl_Delay->setObjectName("lbl_Delay");
    for (QWidget* w : {static_cast<QWidget*>(txt_delay), static_cast<QWidget*>(lbl_Delay)}) {
        QSizePolicy p = w->sizePolicy();
        p.setRetainSizeWhenHidden(true);
        w->setSizePolicy(p);
    }
    connect(txt_Label, &QLineEdit::textEdited, this,
            [this](const QString& t) { editor_.state.Label = bytes(t); });
    connect(txt_Label, &QLineEdit::returnPressed, this, &comandi::cmd_AddFunc_Click);
    connect(txt_delay, &QLineEdit::textEdited, this,
            [this](const QString& t) { editor_.state.Delay = bytes(t); });
    cmd_AddFunc = new QPushButton("OK");
    cmd_AddFunc->setObjectName("cmd_AddFunc");
    cmd_AddFunc->setDefault(true);
    cmd_AddFunc->setMinimumWidth(90);
    connect(cmd_AddFunc, &QPushButton::clicked, this, &comandi::cmd_AddFunc_Click);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel("Label:"));
    bottom->addWidget(txt_Label, 1);
    bottom->addSpacing(12);
    bottom->addWidget(lbl_Delay);
    bottom->addWidget(txt_delay);
    bottom->addSpacing(12);
    bottom->addWidget(cmd_AddFunc);

    auto* v = new QVBoxLayout(f_argomenti);
    v->addWidget(lbl_nomeFunz);
    v->addLayout(rows);
    v->addStretch();
    v->addWidget(frm_trig);
    v->addLayout(bottom);
    return f_argomenti;
}

void comandi::Form_Load() {
    if (!editor_.Caricato) editor_.load();
    refresh();
}

void comandi::SetRes() {
    editor_.setRes();
    refresh();
}

void comandi::ApriRung(int16_t section, int16_t rung) {
    if (section < 0 || section >= SectionCount || rung < 0 || rung > MaxRungs) return;
    ctx_.project.Program.CurrentSection = section;
    Form_Load();
    showWindow();
    editor_.openRung(rung);
    refresh();
}

void comandi::registerClicked(int reg, uint8_t valueType) {
    editor_.registerClicked(reg, valueType);
    refresh();
}

void comandi::Tab_Funzioni_Click(int tab) {
    editor_.tabClick(tab);
    refresh();
}

void comandi::opt_Funzione_Click(int index) {
    editor_.chooseFunction(index);
    refresh();
}

void comandi::txt_Var_Click(int row, int entry) {
    if (!isArgumentRow(row)) return;
    editor_.setRowText(row, bytes(txt_Var[static_cast<size_t>(row)]->itemText(entry)));
    editor_.rowClick(row);
    refresh();
}

void comandi::txt_Opt_Click(int row, int entry) {
    editor_.typeClick(row, entry);
    refresh();
}

void comandi::cmd_Set_Click(int row) {
    // One hand-over at a time: a second wait on the same flag would take the first picker's answer.
    if (picker_) {
        picker_->raise();
        picker_->activateWindow();
        return;
    }
    const PickerRequest request = editor_.setClick(row);
    if (request.Picker == PickerRequest::None) return;
    std::shared_ptr<DialogHandOver> handOver = handOver_;
    handOver->DialogBusy = true;
    QPointer<Input_Tab> table;
    if (request.Picker == PickerRequest::Value) {
        handOver->DialogText = request.StartText;
        auto* box = new Input_Box(handOver, this);
        box->Modo = 1;
        picker_ = box;
        box->Form_Load();
    } else {
        table = new Input_Tab(ctx_, handOver, this);
        table->NomeTabella = static_cast<int16_t>(request.TablePosition);
        picker_ = table;
        table->Form_Load();
    }
    QPointer<comandi> self(this);
    const uint32_t opened = editor_.setupCount();
    while (handOver->DialogBusy)
        ctx_.pump.waitUntil([&handOver] { return !handOver->DialogBusy; }, 250, false);
    if (!self) return; // the window went away while the picker was open
    // The choice belongs to the row of the rung and function it was opened for: when the editor was
    // unloaded, moved to another rung or set up again meanwhile, that row is gone.
    if (editor_.Caricato && editor_.setupCount() == opened &&
        editor_.setClick(row).Picker == request.Picker) {
        if (table)
            editor_.tablePicked(row, table->NomeTabella);
        else if (request.Picker == PickerRequest::Value)
            editor_.valuePicked(row, handOver->DialogText);
    }
    delete picker_;
    refresh();
}

bool comandi::cmd_AddFunc_Click() {
    const bool encoded = editor_.confirm();
    if (encoded) Form_Unload();
    refresh();
    return encoded;
}

void comandi::showWindow() {
    QWidget* frame = subWindowOf(this);
    if (!frame) frame = this;
    // Opened the first time at its size inside the main window; afterwards as the user left it.
    if (!fitted_) fitted_ = true, fitSubWindow(subWindowOf(this));
    frame->show();
    frame->raise();
    frame->activateWindow();
}

void comandi::Form_Unload() {
    if (picker_) picker_->close(); // a caller waiting on the picker goes on
    editor_.unload();
    if (auto* sub = subWindowOf(this))
        sub->close();
    else
        close();
}

void comandi::closeEvent(QCloseEvent* event) {
    if (picker_) picker_->close(); // a caller waiting on the picker goes on
    editor_.unload();
    event->accept();
}

bool comandi::eventFilter(QObject* watched, QEvent* event) {
    QVariant row = watched->property("argRow");
    if (row.isValid()) {
        if (event->type() == QEvent::FocusIn) editor_.ArgCorrente = static_cast<uint8_t>(row.toInt());
        if (isEnter(event)) {
            cmd_AddFunc_Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void comandi::refresh() {
    const EditorState& s = editor_.state;
    setWindowTitle(latin1(s.Caption));
    if (auto* sub = subWindowOf(this)) sub->setWindowTitle(latin1(s.Caption));
    f_Funzioni->setTitle(latin1(s.FunctionsFrame));
    f_argomenti->setTitle(latin1(s.OptionsFrame));
    refreshOptions();
    refreshRows();
    refreshRest();
}

void comandi::refreshOptions() {
    const EditorState& s = editor_.state;
    {
        const QSignalBlocker block(Tab_Funzioni);
        Tab_Funzioni->setCurrentIndex(s.SelectedTab - 1);
    }
    for (int k = 0; k < CatalogueSize; ++k) {
        const FunctionOption& o = s.Options[static_cast<size_t>(k)];
        QPushButton* b = opt_Funzione[static_cast<size_t>(k)];
        b->setText(latin1(o.Caption));
        if (b->property("colour").toUInt() != o.Colour || b->styleSheet().isEmpty()) {
            b->setStyleSheet(optionStyle(o.Colour));
            b->setProperty("colour", o.Colour);
        }
        b->move(o.Column * OptionPitchX, o.Row * OptionPitchY);
        b->setChecked(s.ChosenOption == k);
        b->setVisible(o.Visible);
    }
}

void comandi::refreshRows() {
    const EditorState& s = editor_.state;
    for (int i = 0; i < ArgumentRowCount; ++i) {
        const size_t n = static_cast<size_t>(i);
        const ArgumentRow& r = s.Rows[n];
        lbl_Var[n]->setText(latin1(r.Caption));
        lbl_Var[n]->setVisible(r.CaptionVisible);
        drawCombo(*txt_Var[n], r.Value);
        txt_Var[n]->setVisible(r.Value.Visible);
        drawCombo(*txt_Opt[n], r.Type);
        txt_Opt[n]->setVisible(r.Type.Visible);
        cmd_Set[n]->setVisible(r.SetVisible);
        chk_swap[n]->setVisible(r.SwapVisible);
    }
}

void comandi::refreshRest() {
    const EditorState& s = editor_.state;
    lbl_nomeFunz->setText(latin1(s.Title));
    frm_trig->setVisible(s.TriggerVisible);
    {
        const QSignalBlocker block(chk_trig);
        chk_trig->setChecked(s.TriggerChecked);
    }
    drawCombo(*txt_Var[TriggerRow], s.TriggerRegister);
    drawCombo(*txt_Opt[TriggerRow], s.TriggerMask);
    setTextIfChanged(*txt_Label, s.Label);
    setTextIfChanged(*txt_delay, s.Delay);
    lbl_Delay->setText(latin1(s.DelayCaption));
    lbl_Delay->setVisible(s.DelayVisible);
    txt_delay->setVisible(s.DelayVisible);
}
