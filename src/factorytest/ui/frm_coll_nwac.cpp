#include "factorytest/ui/frm_coll_nwac.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "factorytest/ui/bench_widgets.h"

namespace {

QPushButton* button(const char* caption, const QString& name) {
    auto* b = new QPushButton(caption);
    b->setObjectName(name);
    return b;
}

} // namespace

frm_coll_NWAC::frm_coll_NWAC(EthernetProductBench& bench, QWidget* parent) : QWidget(parent), bench_(bench) {
    setObjectName("frm_coll_NWAC");
    setWindowTitle("Form1");
    Command1 = button("START", "Command1");
    cmd_connetti[0] = button("Connetti banco", "cmd_connetti_0");
    cmd_connetti[1] = button("Discconnetti banco", "cmd_connetti_1");
    auto* top = new QHBoxLayout;
    top->addWidget(cmd_connetti[0]);
    top->addWidget(cmd_connetti[1]);
    top->addWidget(Command1);
    auto* panels = new QHBoxLayout;
    panels->addWidget(buildFirmware());
    panels->addWidget(buildHardware());
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(panels);
    layout->addStretch();

    Timer.setInterval(500);
    connect(&Timer, &QTimer::timeout, this, [this] { bench_.Timer_Timer(); });
    connect(Command1, &QPushButton::clicked, this, [this] { bench_.Command1_Click(); });
    for (int i = 0; i < 2; ++i)
        connect(cmd_connetti[static_cast<size_t>(i)], &QPushButton::clicked, this,
                [this, i] { bench_.cmd_connetti_Click(i); });
    bench_.onChanged = [this] { refresh(); };
    UnloadOnClose(this, [this] { bench_.Form_Unload(); });
    refresh();
}

frm_coll_NWAC::~frm_coll_NWAC() {
    bench_.onChanged = nullptr;
}

QWidget* frm_coll_NWAC::buildFirmware() {
    auto* Frame2 = new QGroupBox("Firmware");
    auto* v = new QVBoxLayout(Frame2);
    Command2 = button("arp -d", "Command2");
    v->addWidget(Command2);
    v->addWidget(new QLabel("Modello"));
    lst_device = new QListWidget;
    lst_device->setObjectName("lst_device");
    lst_device->addItems({"TR7AC", "072 35", "Tavrendol"});
    lst_device->setMaximumHeight(70);
    v->addWidget(lst_device);
    Frame5 = new QGroupBox;
    auto* grid = new QGridLayout(Frame5);
    const std::array<const char*, 3> uploads{"Upload Factory", "Upgrade Firmware", "Upgrade Web"};
    for (int i = 0; i < 3; ++i) {
        auto*& b = cmd_upload[static_cast<size_t>(i)];
        b = button(uploads[static_cast<size_t>(i)], QString("cmd_upload_%1").arg(i));
        grid->addWidget(b, i, 0, 1, 3);
        connect(b, &QPushButton::clicked, this, [this, i] { bench_.cmd_upload_Click(i); });
    }
    cmd_view = button("View Web Site", "cmd_view");
    grid->addWidget(cmd_view, 3, 0, 1, 3);
    txt_vers = new QLineEdit("0");
    txt_vers->setObjectName("txt_vers");
    txt_vers->setMaxLength(1);
    cmd_Set = button("Set", "cmd_Set");
    grid->addWidget(new QLabel("Version"), 4, 0);
    grid->addWidget(txt_vers, 4, 1);
    grid->addWidget(cmd_Set, 4, 2);
    v->addWidget(Frame5);
    v->addStretch();

    // A chosen entry, not the current row that focus alone gives the list.
    connect(lst_device, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { bench_.lst_device_Click(lst_device->row(item)); });
    connect(Command2, &QPushButton::clicked, this, [this] { bench_.Command2_Click(); });
    connect(cmd_view, &QPushButton::clicked, this, [this] { bench_.cmd_view_Click(); });
    connect(txt_vers, &QLineEdit::textChanged, this,
            // The byte goes to the product as typed: a character no byte holds counts as no version.
            [this](const QString& t) {
                bench_.state.txt_vers =
                    t.size() == 1 && t[0].unicode() <= 0xFF ? t.toLatin1().toStdString() : "";
            });
    connect(cmd_Set, &QPushButton::clicked, this, [this] { bench_.cmd_Set_Click(); });
    return Frame2;
}

QWidget* frm_coll_NWAC::buildHardware() {
    Frame1 = new QGroupBox("Hardware");
    auto* grid = new QGridLayout(Frame1);
    chk_error = new QCheckBox("Error");
    chk_error->setObjectName("chk_error");
    cmd_test = button("Test RS485", "cmd_test_0");
    cmd_stop_test = button("stop", "cmd_stop_test");
    led10 = new Lamp;
    led10->setObjectName("led_10");
    grid->addWidget(cmd_test, 0, 0);
    grid->addWidget(cmd_stop_test, 0, 1);
    grid->addWidget(led10, 0, 2);
    grid->addWidget(chk_error, 1, 0);

    auto* Frame4 = new QGroupBox("Misura");
    auto* misura = new QHBoxLayout(Frame4);
    opt_misura[0] = new QRadioButton("5V");
    opt_misura[1] = new QRadioButton("3V");
    opt_misura[0]->setChecked(true);
    for (size_t i = 0; i < 2; ++i) {
        opt_misura[i]->setObjectName(QString("opt_misura_%1").arg(i));
        misura->addWidget(opt_misura[i]);
    }
    grid->addWidget(Frame4, 2, 0, 1, 3);

    auto* Frame3 = new QGroupBox("Sup.");
    auto* sup = new QGridLayout(Frame3);
    cmd_puls = new QPushButton;
    cmd_puls->setObjectName("cmd_puls");
    cmd_puls->setCheckable(true);
    cmd_puls->setFixedSize(22, 22);
    const std::array<const char*, 3> names{"V", "R", "P"};
    for (int i = 0; i < 2; ++i) {
        led[static_cast<size_t>(i)] = new Lamp;
        led[static_cast<size_t>(i)]->setObjectName(QString("led_%1").arg(i));
        sup->addWidget(led[static_cast<size_t>(i)], 0, i, Qt::AlignHCenter);
    }
    sup->addWidget(cmd_puls, 0, 2, Qt::AlignHCenter);
    for (int i = 0; i < 3; ++i)
        sup->addWidget(new QLabel(names[static_cast<size_t>(i)]), 1, i, Qt::AlignHCenter);
    grid->addWidget(Frame3, 3, 0, 1, 3);

    const std::array<const char*, 3> relays{"DC", "AC", "OFF"};
    auto* rele = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        auto*& b = cmd_rele[static_cast<size_t>(i)];
        b = button(relays[static_cast<size_t>(i)], QString("cmd_rele_%1").arg(i));
        rele->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, i] { bench_.cmd_rele_Click(i); });
    }
    grid->addLayout(rele, 4, 0, 1, 3);

    connect(cmd_test, &QPushButton::clicked, this, [this] { bench_.cmd_test_Click(); });
    connect(cmd_stop_test, &QPushButton::clicked, this, [this] { bench_.cmd_stop_test_Click(); });
    connect(chk_error, &QCheckBox::toggled, this, [this](bool on) { bench_.state.ErrorSlave = on; });
    connect(opt_misura[1], &QRadioButton::toggled, this, [this](bool on) { bench_.state.Range3V = on; });
    connect(cmd_puls, &QPushButton::toggled, this, [this](bool on) { bench_.cmd_puls_Click(on); });
    return Frame1;
}

void frm_coll_NWAC::refresh() {
    const NwacState& s = bench_.state;
    if (s.TimerEnabled && !Timer.isActive()) Timer.start();
    if (!s.TimerEnabled) Timer.stop();
    Frame1->setEnabled(s.Frame1Enabled);
    Frame5->setEnabled(s.Frame5Enabled);
    cmd_test->setEnabled(!s.TestAttivo);
    for (QPushButton* b : {cmd_connetti[0], cmd_connetti[1], cmd_Set})
        b->setEnabled(!s.TestAttivo);
    lst_device->setEnabled(!s.TestAttivo);
    for (QPushButton* b : cmd_upload)
        b->setEnabled(!bench_.upload.SocketConnesso);
    for (size_t i = 0; i < led.size(); ++i)
        led[i]->setLit(s.led[i], i == 0 ? ColourGreen : ColourRed);
    led10->setLit(s.LoopLampLit, s.LoopLampColour);
    for (size_t i = 0; i < cmd_rele.size(); ++i)
        ApplyStyle(cmd_rele[i], BenchBackground(s.RelayColours[i]));
}
