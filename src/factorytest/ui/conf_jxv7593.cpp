#include "factorytest/ui/conf_jxv7593.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "factorytest/analog_config/default_sets.h"
#include "factorytest/ui/bench_widgets.h"

namespace {

QString indexed(const char* name, int i) {
    return QString("%1_%2").arg(name).arg(i);
}

// A checked multiplexer box is red, an unchecked one white.
void paintMux(QCheckBox* box) {
    box->setStyleSheet(box->isChecked() ? "background: #FF0000;" : "background: #FFFFFF;");
}

} // namespace

ConfJXV7593::ConfJXV7593(AnalogConfig& config, QWidget* parent) : QWidget(parent), config_(config) {
    setObjectName("ConfJXV7593");
    setWindowTitle("Collaudo JXV7209");
    auto* content = new QWidget;
    auto* grid = new QGridLayout(content);
    grid->addWidget(buildModule(), 0, 0, 1, 2);
    grid->addWidget(buildChannels(), 1, 0, 1, 2);
    grid->addWidget(buildSets(), 2, 0);
    grid->addWidget(buildService(), 2, 1);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(2, 1);
    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    (new QVBoxLayout(this))->addWidget(scroll);
    config_.onChanged = [this] { refresh(); };
    UnloadOnClose(this, [this] { config_.Form_Unload(); });
    refresh();
}

ConfJXV7593::~ConfJXV7593() {
    config_.onChanged = nullptr;
}

QWidget* ConfJXV7593::buildModule() {
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    AnalogConfigFields& f = config_.fields;
    Command2 = fields_.command("Read", "Command2", [this] { config_.Command2_Click(); });
    row->addWidget(new QLabel("Slave"));
    row->addWidget(fields_.edit(config_.AddSlave, "AddSlave", 50));
    row->addWidget(Command2);
    row->addWidget(new QLabel("N celle"));
    row->addWidget(fields_.edit(f.txt_nCelle, "txt_nCelle", 40));
    row->addWidget(new QLabel("N misure"));
    row->addWidget(fields_.edit(f.txt_nMisure, "txt_nMisure", 40));
    row->addWidget(new QLabel("Offset CJC"));
    row->addWidget(fields_.edit(f.txt_Input_OffsetCJC, "txt_Input_OffsetCJC", 50));
    row->addWidget(fields_.command("Write", "cmd_WriteProg_0", [this] { config_.cmd_WriteProg_Click(0); }));
    Label7 = new QLabel;
    Label7->setObjectName("Label7");
    row->addSpacing(20);
    row->addWidget(Label7);
    row->addStretch();
    return box;
}

QWidget* ConfJXV7593::buildChannels() {
    auto* frame = new QGroupBox;
    auto* grid = new QGridLayout(frame);
    grid->setVerticalSpacing(2);
    const QStringList heads{"", "Offset", "Tipo Cella", "Tipo Cella", "Porte Mux", "Guadagni", "ENABLE", "K"};
    const std::array<int, 8> columns{0, 1, 2, 3, 4, 12, 13, 14};
    for (int h = 0; h < heads.size(); ++h)
        grid->addWidget(new QLabel(heads[h]), 0, columns[static_cast<size_t>(h)], 1,
                        h == 4 ? 8 : (h == 7 ? 3 : 1));
    AnalogConfigFields& f = config_.fields;
    for (int c = 0; c < ChannelCount; ++c) {
        const auto i = static_cast<size_t>(c);
        const int r = c + 1;
        grid->addWidget(new QLabel(QString("# %1").arg(c)), r, 0);
        grid->addWidget(fields_.edit(f.txt_Input_offset[i], indexed("txt_Input_offset", c), 50), r, 1);
        auto* combo = new QComboBox;
        combo->setObjectName(indexed("cmb_InputType", c));
        for (const InputTypeItem& t : InputTypes)
            combo->addItem(t.Text, t.Code);
        connect(combo, &QComboBox::activated, this,
                [this, i](int item) { config_.fields.cmb_InputType[i] = item; });
        cmb_InputType[i] = combo;
        grid->addWidget(combo, r, 2);
        grid->addWidget(fields_.edit(f.txt_Input_Type[i], indexed("txt_Input_Type", c), 40), r, 3);
        for (int b = 0; b < 8; ++b) {
            auto* box = new QCheckBox(QString::number(b));
            box->setObjectName(QString("chk_Mux%1_%2").arg(b).arg(c));
            connect(box, &QCheckBox::toggled, this, [this, box, i, b](bool on) {
                const auto bit = static_cast<uint8_t>(1u << b);
                config_.fields.Mux[i] =
                    static_cast<uint8_t>(on ? config_.fields.Mux[i] | bit : config_.fields.Mux[i] & ~bit);
                paintMux(box);
            });
            paintMux(box);
            chk_Mux[static_cast<size_t>(b)][i] = box;
            grid->addWidget(box, r, 4 + b);
        }
        grid->addWidget(fields_.edit(f.txt_guadagno[i], indexed("txt_guadagno", c), 40), r, 12);
        grid->addWidget(fields_.edit(f.txt_reg[i], indexed("txt_reg", c), 40), r, 13);
        grid->addWidget(fields_.edit(config_.txt_Input_Mis[i], indexed("txt_Input_Mis", c), 70,
                                     [this, c] { config_.txt_Input_Mis_Change(c); }),
                        r, 14);
        auto* write = fields_.command("->", indexed("WriteK", c), [this, c] { config_.WriteK_Click(c); });
        write->setFixedWidth(32);
        grid->addWidget(write, r, 15);
        grid->addWidget(fields_.edit(f.txt_Input_K[i], indexed("txt_Input_K", c), 130), r, 16);
    }
    return frame;
}

QWidget* ConfJXV7593::buildSets() {
    // The variants' frames two by two, so they fit beside the service frames.
    auto* column = new QWidget;
    auto* layout = new QGridLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    int frames = 0;
    QGroupBox* frame = nullptr;
    for (int k = 0; k < DefaultSetCount; ++k) {
        const DefaultSetButton& b = DefaultSetButtons[static_cast<size_t>(k)];
        if (!frame || frame->title() != b.Frame) {
            frame = new QGroupBox(b.Frame);
            new QHBoxLayout(frame);
            layout->addWidget(frame, frames / 2, frames % 2);
            ++frames;
        }
        SetDefault[static_cast<size_t>(k)] =
            fields_.command(b.Caption, indexed("SetDefault", k), [this, k] { config_.SetDefault_Click(k); });
        frame->layout()->addWidget(SetDefault[static_cast<size_t>(k)]);
    }
    layout->setRowStretch(3, 1);
    return column;
}

QWidget* ConfJXV7593::buildService() {
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* controller = new QGroupBox("JXV 8250/JXV 8480AI");
    auto* c = new QHBoxLayout(controller);
    c->addWidget(fields_.command("Write Def", "cmd_WriteProg_1", [this] { config_.cmd_WriteProg_Click(1); }));
    c->addWidget(fields_.command("Enable", "En_8250_0", [this] { config_.En_8250_Click(0); }));
    c->addWidget(fields_.command("Release", "En_8250_1", [this] { config_.En_8250_Click(1); }));
    layout->addWidget(controller);

    auto* out = new QGroupBox("Analog out");
    auto* o = new QGridLayout(out);
    const std::array<std::array<std::string*, 2>, 2> words{
        {{&config_.Text5, &config_.Text4}, {&config_.Text7, &config_.Text6}}};
    const std::array<std::array<const char*, 2>, 2> wordNames{{{"Text5", "Text4"}, {"Text7", "Text6"}}};
    for (int n = 0; n < 2; ++n) {
        const auto i = static_cast<size_t>(n);
        o->addWidget(
            fields_.command(QString("Out %1").arg(n), indexed("Out", n), [this, n] { config_.Out_Click(n); }),
            n, 0);
        o->addWidget(fields_.edit(*words[i][0], wordNames[i][0], 60), n, 1);
        o->addWidget(fields_.edit(*words[i][1], wordNames[i][1], 60), n, 2);
        o->addWidget(fields_.command("0", indexed("Force0", n), [this, n] { config_.Force_Click(n, false); }),
                     n, 3);
        o->addWidget(
            fields_.command("20", indexed("Force20", n), [this, n] { config_.Force_Click(n, true); }), n, 4);
        o->addWidget(fields_.command("Reset", indexed("Reset", n), [this, n] { config_.Reset_Click(n); }), n,
                     5);
    }
    layout->addWidget(out);

    auto* calc = new QHBoxLayout;
    calc->addWidget(fields_.edit(config_.Text1, "Text1", 70));
    calc->addWidget(fields_.edit(config_.Text2, "Text2", 70));
    auto* k = new QPushButton("Calc k");
    k->setObjectName("Command1");
    connect(k, &QPushButton::clicked, this, [this] { config_.Command1_Click(); });
    calc->addWidget(k);
    calc->addWidget(fields_.edit(config_.Text3, "Text3", 70));
    Command11 = new QPushButton("Command11");
    Command11->setObjectName("Command11");
    Command11->setToolTip("Register 9 of slave 1: 0 and 65535 in turn, 100 times each, 2 s apart");
    connect(Command11, &QPushButton::clicked, this, [this] { config_.Command11_Click(); });
    calc->addWidget(Command11);
    calc->addStretch();
    layout->addLayout(calc);
    layout->addStretch();
    return column;
}

void ConfJXV7593::refresh() {
    fields_.refresh(config_.busy());
    const AnalogConfigFields& f = config_.fields;
    Label7->setText(l1(f.Label7));
    for (size_t c = 0; c < ChannelCount; ++c) {
        const QSignalBlocker block(cmb_InputType[c]);
        cmb_InputType[c]->setCurrentIndex(f.cmb_InputType[c]);
        for (size_t b = 0; b < 8; ++b) {
            QCheckBox* box = chk_Mux[b][c];
            const bool on = (f.Mux[c] >> b & 1) != 0;
            if (box->isChecked() != on) box->setChecked(on); // its handler paints it
        }
    }
    // While the switching run goes, its button stops it.
    Command11->setText(config_.switching() ? "Stop" : "Command11");
    Command11->setEnabled(config_.switching() || !config_.busy());
}
