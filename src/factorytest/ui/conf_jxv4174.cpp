#include "factorytest/ui/conf_jxv4174.h"

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

#include "factorytest/ui/bench_widgets.h"

namespace {

QString indexed(const char* name, int i) {
    return QString("%1_%2").arg(name).arg(i);
}

} // namespace

ConfJXV4174::ConfJXV4174(MultiChannelConfig& config, QWidget* parent) : QWidget(parent), config_(config) {
    setObjectName("ConfJXV4174");
    setWindowTitle("Collaudo JXV4174");
    auto* frm_manuale = new QGroupBox("Slave");
    auto* grid = new QGridLayout(frm_manuale);
    grid->addWidget(buildMeasure(), 0, 0);
    grid->addWidget(buildCjc(), 1, 0);
    grid->addWidget(buildGrid(), 0, 1, 3, 1, Qt::AlignTop);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(2, 1);
    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setWidget(frm_manuale);
    (new QVBoxLayout(this))->addWidget(scroll);
    config_.onChanged = [this] { refresh(); };
    UnloadOnClose(this, [this] { config_.Form_Unload(); });
    refresh();
}

ConfJXV4174::~ConfJXV4174() {
    config_.onChanged = nullptr;
}

QWidget* ConfJXV4174::buildMeasure() {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel("Slave"), 0, 0);
    grid->addWidget(fields_.edit(config_.AddSlave, "AddSlave", 50), 0, 1);
    grid->addWidget(new QLabel("Dispositivo"), 1, 0);
    device_ty = new QComboBox;
    device_ty->setObjectName("device_ty");
    for (const MultiChannelModel& m : MultiChannelModels())
        device_ty->addItem(m.Name);
    device_ty->setCurrentIndex(-1);
    connect(device_ty, &QComboBox::activated, this, [this](int i) { config_.device_ty_Click(i); });
    grid->addWidget(device_ty, 1, 1, 1, 2);
    grid->addWidget(new QLabel("Input"), 2, 0);
    input_ty = new QComboBox;
    input_ty->setObjectName("input_ty");
    input_ty->setMinimumWidth(150);
    connect(input_ty, &QComboBox::activated, this, [this](int i) { config_.input_ty_Click(i); });
    grid->addWidget(input_ty, 2, 1, 1, 2);

    auto* Frame1 = new QGroupBox("Tipo Input                        Input");
    auto* channels = new QGridLayout(Frame1);
    for (int i = 0; i < MeasuredChannels; ++i) {
        const auto c = static_cast<size_t>(i);
        channels->addWidget(fields_.edit(config_.txt_Input_Type[c], indexed("txt_Input_Type", i), 60), i, 0);
        QLineEdit* reading = fields_.edit(config_.txt_Input[c], indexed("txt_Input", i), 80);
        reading->setReadOnly(true);
        channels->addWidget(reading, i, 1);
    }
    grid->addWidget(Frame1, 3, 0, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(fields_.command("Read", "Command3", [this] { config_.Command3_Click(); }));
    Command4 = fields_.command("Start", "Command4", [this] { config_.Command4_Click(); });
    buttons->addWidget(Command4);
    Command5 = new QPushButton("Stop");
    Command5->setObjectName("Command5");
    connect(Command5, &QPushButton::clicked, this, [this] { config_.Command5_Click(); });
    buttons->addWidget(Command5);
    grid->addLayout(buttons, 4, 0, 1, 3);

    auto* calc = new QGridLayout;
    calc->addWidget(new QLabel("Ref"), 0, 0);
    calc->addWidget(fields_.edit(config_.Text1, "Text1", 80), 0, 1);
    calc->addWidget(new QLabel("Val"), 1, 0);
    calc->addWidget(fields_.edit(config_.Text2, "Text2", 80), 1, 1);
    calc->addWidget(new QLabel("K"), 2, 0);
    calc->addWidget(fields_.edit(config_.Text3, "Text3", 80), 2, 1);
    auto* k = new QPushButton("CALC k");
    k->setObjectName("Command1");
    connect(k, &QPushButton::clicked, this, [this] { config_.Command1_Click(); });
    calc->addWidget(k, 3, 1);
    grid->addLayout(calc, 5, 0, 1, 3);
    return box;
}

QWidget* ConfJXV4174::buildGrid() {
    auto* Frame3 = new QGroupBox;
    auto* grid = new QGridLayout(Frame3);
    grid->setVerticalSpacing(2);
    grid->addWidget(new QLabel("Offset"), 0, 1);
    grid->addWidget(new QLabel("K"), 0, 3);
    for (int k = 0; k < SlotCount; ++k) {
        const auto s = static_cast<size_t>(k);
        grid->addWidget(new QLabel(SlotHeads[s]), k + 1, 0);
        grid->addWidget(fields_.edit(config_.txt_Input_Offset[s], indexed("txt_Input_Offset", k), 50), k + 1,
                        1);
        auto* offset =
            fields_.command("->", indexed("WriteOffset", k), [this, k] { config_.WriteOffset_Click(k); });
        offset->setFixedWidth(32);
        grid->addWidget(offset, k + 1, 2);
        grid->addWidget(fields_.edit(config_.txt_Input_K[s], indexed("txt_Input_K", k), 130), k + 1, 3);
        auto* write = fields_.command("->", indexed("WriteK", k), [this, k] { config_.WriteK_Click(k); });
        write->setFixedWidth(32);
        grid->addWidget(write, k + 1, 4);
    }
    grid->addWidget(fields_.command("Set zero -> 0", "Set_all_z", [this] { config_.Set_all_z_Click(); }),
                    SlotCount + 1, 1, 1, 2);
    grid->addWidget(fields_.command("Set k -> 1", "Set_all_k", [this] { config_.Set_all_k_Click(); }),
                    SlotCount + 1, 3, 1, 2);
    grid->addWidget(fields_.command("Read", "Command2", [this] { config_.Command2_Click(); }), SlotCount + 2,
                    1, 1, 4);
    return Frame3;
}

QWidget* ConfJXV4174::buildCjc() {
    auto* CJC = new QGroupBox("CJC");
    auto* grid = new QGridLayout(CJC);
    grid->setVerticalSpacing(2);
    for (int j = 0; j < CjcCount; ++j) {
        txt_OffsetCJC[static_cast<size_t>(j)] =
            fields_.edit(config_.txt_OffsetCJC[static_cast<size_t>(j)], indexed("txt_OffsetCJC", j), 50);
        grid->addWidget(txt_OffsetCJC[static_cast<size_t>(j)], j, 0);
        auto* write = fields_.command("->", indexed("WriteCJC", j), [this, j] { config_.WriteCJC_Click(j); });
        write->setFixedWidth(32);
        grid->addWidget(write, j, 1);
    }
    grid->addWidget(fields_.command("Set CJC -> 0", "Set_all_CJC", [this] { config_.Set_all_CJC_Click(); }),
                    CjcCount, 0, 1, 2);
    return CJC;
}

void ConfJXV4174::refresh() {
    fields_.refresh(config_.busy());
    const QSignalBlocker blockDevice(device_ty);
    device_ty->setCurrentIndex(config_.device_ty);
    const QSignalBlocker blockInput(input_ty);
    QStringList items;
    for (const std::string& t : config_.inputTypes)
        items << l1(t);
    QStringList shown;
    for (int i = 0; i < input_ty->count(); ++i)
        shown << input_ty->itemText(i);
    if (shown != items) {
        input_ty->clear();
        input_ty->addItems(items);
    }
    input_ty->setCurrentIndex(config_.input_ty);
    input_ty->setVisible(config_.inputTypesShown);
    for (size_t j = 0; j < CjcCount; ++j)
        txt_OffsetCJC[j]->setEnabled(config_.cjcEnabled[j]);
    device_ty->setEnabled(!config_.busy());
    input_ty->setEnabled(!config_.busy());
}
