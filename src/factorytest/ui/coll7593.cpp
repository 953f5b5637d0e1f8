#include "factorytest/ui/coll7593.h"

#include <algorithm>

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include "factorytest/ui/bench_widgets.h"

namespace {

QString background(uint32_t colour) {
    return QString("background-color: rgb(%1,%2,%3); border: 1px solid gray; padding: 1px 4px;")
        .arg(colour & 0xFF)
        .arg(colour >> 8 & 0xFF)
        .arg(colour >> 16 & 0xFF);
}

constexpr std::array<const char*, 7> LabelNames{"lbl_coll_zero", "lbl_coll_half",   "lbl_coll_span",
                                                "lbl_coll_K",    "lbl_coll_K_zero", "lbl_coll_K_span",
                                                "lbl_coll_span2"};

std::array<const BenchLabel*, 7> labelsOf(const BenchRow& r) {
    return {&r.Zero, &r.Half, &r.Span, &r.K, &r.KZero, &r.KSpan, &r.Span2};
}

// Style sheets are costly to apply: only changed ones are set.
void applyStyle(QWidget* w, const QString& css) {
    if (w->styleSheet() != css) w->setStyleSheet(css);
}

} // namespace

Coll7593::Coll7593(CalibrationBench& bench, QWidget* parent) : QWidget(parent), bench_(bench) {
    setObjectName("coll7593");
    setWindowTitle("JXV7593 - Collaudo moduli analogici");
    auto* left = new QVBoxLayout;
    auto* Frame1 = new QGroupBox("Device");
    lst_device = new QListWidget;
    lst_device->setObjectName("lst_device");
    for (const BenchModelInfo& m : BenchModels)
        lst_device->addItem(m.ListText);
    lst_device->setMaximumHeight(90);
    (new QVBoxLayout(Frame1))->addWidget(lst_device);
    left->addWidget(Frame1);
    left->addWidget(buildPorts());
    cmd_start = new QPushButton("START");
    cmd_start->setObjectName("cmd_start");
    cmd_stop = new QPushButton("STOP");
    cmd_stop->setObjectName("cmd_stop");
    left->addWidget(cmd_start);
    left->addWidget(cmd_stop);
    Label1 = new QLabel;
    Label1->setObjectName("Label1");
    left->addWidget(Label1);
    ProgressBar1 = new QProgressBar;
    ProgressBar1->setObjectName("ProgressBar1");
    left->addWidget(ProgressBar1);
    left->addStretch();

    auto* right = new QVBoxLayout;
    Label5 = new QLabel;
    Label5->setObjectName("Label5");
    right->addWidget(Label5);
    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setWidget(buildCheckList());
    right->addWidget(scroll);

    auto* leftPanel = new QWidget;
    leftPanel->setLayout(left);
    leftPanel->setFixedWidth(200);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(leftPanel);
    layout->addLayout(right, 1);

    // A chosen model, not the current row that focus alone gives the list.
    connect(lst_device, &QListWidget::itemSelectionChanged, this, [this] {
        const auto chosen = lst_device->selectedItems();
        if (!chosen.isEmpty()) bench_.lst_device_Click(lst_device->row(chosen.front()));
    });
    connect(cmd_start, &QPushButton::clicked, this, [this] { bench_.cmd_start_Click(); });
    connect(cmd_stop, &QPushButton::clicked, this, [this] { bench_.cmd_stop_Click(); });
    bench_.onChanged = [this] { refresh(); };
    UnloadOnClose(this, [this] { bench_.Form_Unload(); });
    bench_.view.pointer = &pointer_;
    bench_.Form_Load();
}

Coll7593::~Coll7593() {
    bench_.onChanged = nullptr;
    bench_.view.pointer = nullptr;
}

QWidget* Coll7593::buildPorts() {
    auto* box = new QGroupBox("COM ports");
    auto* grid = new QGridLayout(box);
    InstrumentPorts& p = bench_.ports;
    const std::array<InstrumentPort*, 4> ports{&p.Seriale_switch, &p.Seriale_mult, &p.Seriale_alim,
                                               &p.Seriale_calib};
    for (size_t i = 0; i < ports.size(); ++i) {
        InstrumentPort* port = ports[i];
        auto* spin = new QSpinBox;
        spin->setRange(0, 99);
        spin->setSpecialValueText("none");
        spin->setPrefix("COM");
        spin->setValue(port->Number);
        spin->setObjectName(QString("port_%1").arg(i));
        // A new number takes effect at the next open.
        connect(spin, &QSpinBox::valueChanged, this, [port](int n) {
            if (port->Number != n) port->close();
            port->Number = n;
        });
        grid->addWidget(new QLabel(QString::fromLatin1(port->Name)), static_cast<int>(i), 0);
        grid->addWidget(spin, static_cast<int>(i), 1);
        portNumbers[i] = spin;
    }
    return box;
}

QWidget* Coll7593::buildCheckList() {
    frm_7593 = new QGroupBox;
    frm_7593->setObjectName("frm_7593");
    auto* grid = new QGridLayout(frm_7593);
    grid->setVerticalSpacing(2);
    const QStringList heads{"", "", "", "Zero", "Half", "Span", "K", "K zero", "K span", "Span 2"};
    for (int c = 0; c < heads.size(); ++c)
        grid->addWidget(new QLabel(heads[c]), 0, c);
    for (int i = 0; i < BenchRowCount; ++i) {
        RowControls& r = rows[static_cast<size_t>(i)];
        r.chk_coll = new QCheckBox;
        r.chk_coll->setObjectName(QString("chk_coll_%1").arg(i));
        r.cmd_coll = new QPushButton(QString::number(i));
        r.cmd_coll->setObjectName(QString("cmd_coll_%1").arg(i));
        r.cmd_coll->setFixedWidth(32);
        r.pic_coll_cella = new QLabel;
        r.pic_coll_cella->setFixedSize(18, 18);
        grid->addWidget(r.chk_coll, i + 1, 0);
        grid->addWidget(r.cmd_coll, i + 1, 1);
        grid->addWidget(r.pic_coll_cella, i + 1, 2);
        for (size_t l = 0; l < r.labels.size(); ++l) {
            r.labels[l] = new QLabel;
            r.labels[l]->setObjectName(QString("%1_%2").arg(LabelNames[l]).arg(i));
            // K holds the widest caption: a reading with its constant, "20600.00 (0.9709)".
            const int kWidth = r.labels[l]->fontMetrics().horizontalAdvance("-20600.00 (0.9709)") + 12;
            r.labels[l]->setFixedWidth(l == 3 ? std::max(120, kWidth) : 78);
            grid->addWidget(r.labels[l], i + 1, static_cast<int>(l) + 3);
        }
        connect(r.chk_coll, &QCheckBox::toggled, this, [this, i](bool on) {
            if (bench_.state.Rows[static_cast<size_t>(i)].Ticked != on) bench_.setTicked(i, on);
        });
        connect(r.cmd_coll, &QPushButton::clicked, this, [this, i] { bench_.cmd_coll_Click(i); });
    }
    grid->setColumnStretch(static_cast<int>(heads.size()), 1);
    grid->setRowStretch(BenchRowCount + 1, 1);
    return frm_7593;
}

void Coll7593::refresh() {
    const BenchState& s = bench_.state;
    const bool idle = !s.Running;
    lst_device->setEnabled(idle);
    cmd_start->setEnabled(idle && s.ModelChosen);
    cmd_stop->setEnabled(s.ModelChosen);
    for (QSpinBox* spin : portNumbers)
        spin->setEnabled(idle);
    frm_7593->setEnabled(s.ModelChosen);
    Label5->setText(QString::fromLatin1(s.Label5));
    Label1->setText(QString::fromLatin1(s.Label1));
    ProgressBar1->setValue(s.Progress);
    for (int i = 0; i < BenchRowCount; ++i) {
        const BenchRow& b = s.Rows[static_cast<size_t>(i)];
        RowControls& r = rows[static_cast<size_t>(i)];
        r.chk_coll->setText(QString::fromLatin1(b.Caption));
        r.chk_coll->setChecked(b.Ticked);
        r.chk_coll->setEnabled(idle);
        r.cmd_coll->setEnabled(idle);
        applyStyle(r.pic_coll_cella, background(b.Cell));
        const auto states = labelsOf(b);
        for (size_t l = 0; l < r.labels.size(); ++l) {
            r.labels[l]->setVisible(states[l]->Exists && states[l]->Visible);
            r.labels[l]->setText(QString::fromLatin1(states[l]->Text));
            applyStyle(r.labels[l], background(states[l]->Colour));
        }
    }
}
