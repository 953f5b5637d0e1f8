#include "tools/ui/frm_watch.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/app_context.h"
#include "fbeditor/ui/input_box.h"
#include "fbeditor/ui/state_view.h"
#include "tools/ui/tool_table.h"

frm_watch::frm_watch(AppContext& ctx, QWidget* parent)
    : QWidget(parent), ctx_(ctx), view_(ctx), entry_(ctx), cmb_reg_(new QComboBox),
      lst_(makeToolTable({"", "", "", ""})), cmd_start_(new QPushButton("Start")),
      cmd_stop_(new QPushButton("Stop")) {
    setObjectName("frm_watch");
    cmb_reg_->setObjectName("cmb_reg");
    cmb_reg_->setMaxVisibleItems(20);
    lst_->setObjectName("lst_watch");
    auto* add = new QPushButton("Add");
    auto* remove = new QPushButton("Remove");
    auto* write = new QPushButton("Write value...");
    cmd_start_->setObjectName("cmd_start");
    cmd_stop_->setObjectName("cmd_stop");
    auto* top = new QHBoxLayout;
    top->addWidget(cmb_reg_, 1);
    top->addWidget(add);
    top->addWidget(remove);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(lst_, 1);
    layout->addLayout(keyRow({cmd_start_, cmd_stop_, write}));
    connect(add, &QPushButton::clicked, this, [this] {
        if (int i = cmb_reg_->currentIndex(); i >= 0) view_.add(view_.Choices[size_t(i)].Register);
    });
    connect(remove, &QPushButton::clicked, this, [this] { view_.remove(lst_->currentRow()); });
    connect(cmd_start_, &QPushButton::clicked, this, [this] { view_.start(); });
    // The names follow the model: the choices are read again each time the list opens.
    cmb_reg_->installEventFilter(this);
    connect(cmd_stop_, &QPushButton::clicked, this, [this] { view_.stop(); });
    connect(write, &QPushButton::clicked, this, &frm_watch::writeValue);
    connect(lst_, &QTableWidget::cellDoubleClicked, this, &frm_watch::writeValue);
    view_.onChanged = [this] { draw(); };
    entry_.onWritten = [this] { view_.Redraw(); };
    entry_.SetRes();
    view_.SetRes();
    resize(480, 300);
}

void frm_watch::SetRes() {
    view_.SetRes();
    for (auto* box : findChildren<Input_Box*>())
        box->SetRes();
}

frm_watch::~frm_watch() {
    view_.stop();
    view_.onChanged = nullptr;
}

void frm_watch::writeValue() {
    const int row = lst_->currentRow();
    if (row < 0 || row >= int(view_.Rows.size())) return;
    entry_.SetRes();
    entry_.Register = view_.Rows[size_t(row)].Register;
    entry_.ValueType = ctx_.comm.Registers[size_t(entry_.Register)].ValueType;
    auto* box = new Input_Box(entry_, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->Form_Load();
}

bool frm_watch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cmb_reg_ && event->type() == QEvent::MouseButtonPress) view_.SetRes();
    return QWidget::eventFilter(watched, event);
}

void frm_watch::closeEvent(QCloseEvent* event) {
    view_.stop(); // the loop ends with the window
    event->accept();
}

void frm_watch::draw() {
    setWindowTitle(latin1(view_.Caption));
    QStringList headers;
    for (const auto& h : view_.Headers)
        headers << latin1(h);
    lst_->setHorizontalHeaderLabels(headers);
    QStringList choices;
    for (const auto& c : view_.Choices)
        choices << latin1(c.Text);
    if (choices != shownChoices_) { // a new model or new names since the last draw
        const QSignalBlocker block(cmb_reg_);
        cmb_reg_->clear();
        cmb_reg_->addItems(choices);
        shownChoices_ = choices;
    }
    std::vector<std::vector<std::string>> rows;
    for (const auto& r : view_.Rows)
        rows.push_back({r.Label, r.Name, r.Value, r.Type});
    fillTable(*lst_, rows);
    cmd_start_->setEnabled(!view_.running());
    cmd_stop_->setEnabled(view_.running());
}
