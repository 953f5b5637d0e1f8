#include "factorytest/ui/frm_collaudo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "factorytest/instruments/instrument_commands.h"
#include "factorytest/ui/bench_widgets.h"

namespace {

QString latin1(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

QComboBox* comPorts(const char* name, bool manual) {
    auto* box = new QComboBox;
    box->setObjectName(name);
    for (int n = 1; n <= 8; ++n)
        box->addItem(QString("COM%1").arg(n));
    if (manual) {
        box->addItem("MANUALE");
        box->setCurrentText("MANUALE");
    }
    return box;
}

QLineEdit* timeField(const char* name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setFixedWidth(36);
    return edit;
}

} // namespace

frm_collaudo::frm_collaudo(ControllerBench& bench, const std::array<std::string, 4>& models,
                           const std::array<std::string, 12>& months, QWidget* parent)
    : QWidget(parent), bench_(bench) {
    setObjectName("frm_collaudo");
    setWindowTitle("COLLAUDO");
    auto* left = new QVBoxLayout;
    left->addWidget(buildEut(models));
    cmd_start = new QPushButton("START");
    cmd_start->setObjectName("cmd_start");
    Command1 = new QPushButton("STOP");
    Command1->setObjectName("Command1");
    left->addWidget(cmd_start);
    left->addWidget(Command1);
    left->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(buildControlli());
    layout->addWidget(buildBase(months), 1);

    connect(cmd_start, &QPushButton::clicked, this, [this] { bench_.cmd_start_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { bench_.Command1_Click(); });
    bench_.onChanged = [this] { refresh(); };
    UnloadOnClose(this, [this] { bench_.Form_Unload(); });
    refresh();
}

frm_collaudo::~frm_collaudo() {
    bench_.onChanged = nullptr;
}

QWidget* frm_collaudo::buildEut(const std::array<std::string, 4>& models) {
    auto* column = new QWidget;
    auto* v = new QVBoxLayout(column);
    v->setContentsMargins(0, 0, 0, 0);
    auto* eut = new QGroupBox("E.U.T.");
    auto* form = new QFormLayout(eut);
    txt_eut_mod = new QComboBox;
    txt_eut_mod->setObjectName("txt_eut_mod");
    for (const std::string& m : models)
        txt_eut_mod->addItem(latin1(m));
    txt_eut_port = comPorts("txt_eut_port", false);
    auto* ip = new QLineEdit("192.168.1.100");
    auto* add = new QLineEdit("10");
    for (QLineEdit* shown : {ip, add})
        shown->setReadOnly(true);
    form->addRow("Modello:", txt_eut_mod);
    form->addRow("PORT:", txt_eut_port);
    form->addRow("IP:", ip);
    form->addRow("ADD:", add);
    auto* ports = new QGroupBox("Porte");
    auto* pform = new QFormLayout(ports);
    txt_mult_port = comPorts("txt_mult_port", true);
    txt_alim_port = comPorts("txt_alim_port", true);
    pform->addRow("Mult", txt_mult_port);
    pform->addRow("Alim", txt_alim_port);
    v->addWidget(eut);
    v->addWidget(ports);
    connect(txt_eut_port, &QComboBox::currentIndexChanged, this, [this](int i) { bench_.state.EutPort = i; });
    connect(txt_mult_port, &QComboBox::currentTextChanged, this,
            [this](const QString& t) { bench_.state.MultMode = t.toStdString(); });
    connect(txt_alim_port, &QComboBox::currentTextChanged, this,
            [this](const QString& t) { bench_.state.AlimMode = t.toStdString(); });
    return column;
}

QCheckBox* frm_collaudo::step(int index) {
    auto* box = new QCheckBox(QString::fromLatin1(ControllerBench::StepCaptions[static_cast<size_t>(index)]));
    box->setObjectName(QString("chk_collaudo_%1").arg(index));
    connect(box, &QCheckBox::toggled, this,
            [this, index](bool on) { bench_.state.Ticked[static_cast<size_t>(index)] = on; });
    chk_collaudo[static_cast<size_t>(index)] = box;
    return box;
}

QLayout* frm_collaudo::consumptionRow(int which) {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(20, 0, 0, 0);
    const auto w = static_cast<size_t>(which);
    auto edit = [this, which](const QString& name) {
        auto* e = new QLineEdit;
        e->setObjectName(name.arg(which));
        e->setFixedWidth(56);
        e->setToolTip("mA; empty: no limit, the reading is only shown");
        connect(e, &QLineEdit::editingFinished, this, [this, which] {
            const auto w = static_cast<size_t>(which);
            bench_.editConsumptionLimits(which, txt_cons_min[w]->text().toStdString(),
                                         txt_cons_max[w]->text().toStdString());
        });
        return e;
    };
    txt_cons_min[w] = edit("txt_cons_min_%1");
    txt_cons_max[w] = edit("txt_cons_max_%1");
    lbl_consumo[w] = new QLabel;
    lbl_consumo[w]->setObjectName(QString("lbl_consumo_%1").arg(which));
    row->addWidget(new QLabel("mA min"));
    row->addWidget(txt_cons_min[w]);
    row->addWidget(new QLabel("max"));
    row->addWidget(txt_cons_max[w]);
    row->addWidget(lbl_consumo[w], 1);
    return row;
}

QWidget* frm_collaudo::buildControlli() {
    auto* frame = new QGroupBox("Controlli");
    auto* v = new QVBoxLayout(frame);
    chk_controlli[0] = new QCheckBox("Init");
    chk_controlli[0]->setObjectName("chk_controlli_0");
    connect(chk_controlli[0], &QCheckBox::toggled, this, [this](bool on) { bench_.state.Init = on; });
    v->addWidget(chk_controlli[0]);
    for (int i = 0; i <= 6; ++i) {
        v->addWidget(step(i));
        if (i == 0 || i == 2) v->addLayout(consumptionRow(i / 2));
    }
    ProgressBar1 = new QProgressBar;
    ProgressBar1->setObjectName("ProgressBar1");
    v->addWidget(ProgressBar1);
    v->addStretch();
    return frame;
}

QWidget* frm_collaudo::buildBase(const std::array<std::string, 12>& months) {
    auto* frame = new QGroupBox("Base");
    auto* v = new QVBoxLayout(frame);
    chk_controlli[1] = new QCheckBox("Base");
    chk_controlli[1]->setObjectName("chk_controlli_1");
    connect(chk_controlli[1], &QCheckBox::toggled, this, [this](bool on) { bench_.state.Base = on; });
    v->addWidget(chk_controlli[1]);
    auto* rs485 = new QHBoxLayout;
    rs485->addWidget(step(7));
    Label2 = new QLabel;
    Label2->setObjectName("Label2");
    rs485->addWidget(Label2);
    rs485->addStretch();
    v->addLayout(rs485);
    for (auto [title, index, first] : {std::tuple{"Inputs", 8, 0}, {"Outputs", 9, 4}}) {
        auto* group = new QGroupBox(title);
        auto* grid = new QGridLayout(group);
        grid->addWidget(step(index), 0, 0, 1, 4);
        for (int i = 0; i < 4; ++i) {
            const auto k = static_cast<size_t>(first + i);
            led[k] = new Lamp;
            led[k]->setObjectName(QString("led_%1").arg(k));
            grid->addWidget(led[k], 1, i, Qt::AlignHCenter);
            grid->addWidget(new QLabel(ControllerBench::LedCaptions[k]), 2, i, Qt::AlignHCenter);
        }
        v->addWidget(group);
    }
    auto* rtcc = new QGroupBox("RTCC");
    auto* grid = new QGridLayout(rtcc);
    grid->addWidget(step(10), 0, 0, 1, 3);
    txt_giorno = new QComboBox;
    txt_giorno->setObjectName("txt_giorno");
    for (int d = 1; d <= 31; ++d)
        txt_giorno->addItem(QString("%1").arg(d, 2, 10, QChar('0')));
    txt_mese = new QComboBox;
    txt_mese->setObjectName("txt_mese");
    for (const std::string& m : months)
        txt_mese->addItem(latin1(m));
    txt_anno = new QComboBox;
    txt_anno->setObjectName("txt_anno");
    for (int n = 0; n <= 99; ++n)
        txt_anno->addItem(QString::number(2000 + n));
    // The sequence fills the date and time from the PC's clock; they are shown only.
    for (QComboBox* c : {txt_giorno, txt_mese, txt_anno}) {
        c->setEnabled(false);
    }
    txt_ore = timeField("txt_ore");
    txt_min = timeField("txt_min");
    txt_sec = timeField("txt_sec");
    grid->addWidget(txt_giorno, 1, 0);
    grid->addWidget(txt_mese, 1, 1);
    grid->addWidget(txt_anno, 1, 2);
    auto* time = new QHBoxLayout;
    for (QLineEdit* e : {txt_ore, txt_min, txt_sec})
        time->addWidget(e);
    time->addStretch();
    grid->addLayout(time, 2, 0, 1, 3);
    v->addWidget(rtcc);
    v->addStretch();
    return frame;
}

void frm_collaudo::refresh() {
    const CollaudoState& s = bench_.state;
    const bool idle = !s.Running;
    cmd_start->setEnabled(idle);
    for (QComboBox* c : {txt_eut_mod, txt_eut_port, txt_mult_port, txt_alim_port})
        c->setEnabled(idle);
    chk_controlli[0]->setChecked(s.Init);
    chk_controlli[1]->setChecked(s.Base);
    for (size_t i = 0; i < chk_collaudo.size(); ++i) {
        chk_collaudo[i]->setChecked(s.Ticked[i]);
        ApplyStyle(chk_collaudo[i],
                   s.StepColour[i] == NotColoured ? QString() : BenchBackground(s.StepColour[i]));
    }
    for (size_t i = 0; i < led.size(); ++i)
        led[i]->setLit(s.Led[i] != NotColoured, s.Led[i]);
    Label2->setText(QString::fromStdString(s.Label2));
    txt_giorno->setCurrentIndex(s.Day);
    txt_mese->setCurrentIndex(s.Month);
    txt_anno->setCurrentIndex(s.Year);
    txt_ore->setText(QString::fromStdString(s.Hour));
    txt_min->setText(QString::fromStdString(s.Minute));
    txt_sec->setText(QString::fromStdString(s.Second));
    ProgressBar1->setValue(s.Progress);
    for (size_t i = 0; i < lbl_consumo.size(); ++i) {
        const ConsumptionLimits& limits = bench_.settings.Consumption[i];
        for (auto [edit, limit] :
             {std::pair{txt_cons_min[i], limits.minMa}, {txt_cons_max[i], limits.maxMa}}) {
            edit->setReadOnly(!idle);
            edit->setText(limit ? QString::fromStdString(DecimalText(*limit)) : QString());
        }
        lbl_consumo[i]->setText(QString::fromStdString(s.Consumption[i]));
    }
}
