#include "discovery/ui/frm_lettmac.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QString latin1(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }
std::string bytes(const QLineEdit* box) { return box->text().toLatin1().toStdString(); }

QLineEdit* centredBox(int maxLength, const QString& text = {}) {
    auto* box = new QLineEdit(text);
    box->setAlignment(Qt::AlignCenter);
    box->setMaxLength(maxLength);
    return box;
}

} // namespace

frm_LettMAC::frm_LettMAC(LettMac& logic, QWidget* parent) : QWidget(parent), logic_(logic) {
    setWindowTitle("Form1");
    lstMAC = new QListWidget;
    lstMAC->setMinimumWidth(460);
    auto* read = new QPushButton("Carica MAC da 25AA02E48");
    auto* load = new QPushButton("Load File");
    auto* save = new QPushButton("Save File");

    auto* frame = new QGroupBox("MAC -> PFC");
    txt_pfc = centredBox(3);
    txt_anno = centredBox(2, "09");
    txt_cliente = new QLineEdit;
    auto* assign = new QPushButton("Modifica MAC -->");
    auto* grid = new QGridLayout(frame);
    grid->addWidget(new QLabel("PFC"), 0, 0);
    grid->addWidget(new QLabel("Anno"), 0, 2);
    grid->addWidget(txt_pfc, 1, 0);
    grid->addWidget(new QLabel("/"), 1, 1);
    grid->addWidget(txt_anno, 1, 2);
    grid->addWidget(new QLabel("Cliente"), 2, 0, 1, 3);
    grid->addWidget(txt_cliente, 3, 0, 1, 3);
    grid->addWidget(assign, 4, 0, 1, 3);

    auto* report = new QGroupBox;
    auto* reportLayout = new QVBoxLayout(report);
    const char* options[] = {"PFC", "Cliente", "Anno"};
    for (int i = 0; i < 3; ++i)
        reportLayout->addWidget(opt_report[i] = new QRadioButton(options[i]));
    opt_report[0]->setChecked(true);
    auto* makeReport = new QPushButton("Crea Report");
    reportLayout->addWidget(makeReport);

    auto* side = new QVBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{read, load, save, frame, report})
        side->addWidget(w);
    side->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(lstMAC, 1);
    layout->addLayout(side);

    connect(read, &QPushButton::clicked, this, [this] { logic_.Command1_Click(boxes()); });
    connect(assign, &QPushButton::clicked, this, [this] { logic_.Command2_Click(lstMAC->currentRow(), boxes()); });
    connect(load, &QPushButton::clicked, this, [this] { logic_.cmd_loadFile_Click(); });
    connect(save, &QPushButton::clicked, this, [this] { logic_.cmd_SaveFile_Click(); });
    connect(makeReport, &QPushButton::clicked, this, [this] {
        QLocale locale;
        QDateTime now = QDateTime::currentDateTime();
        std::string when = (locale.toString(now.date(), QLocale::ShortFormat) + " " +
                            locale.toString(now.time(), QLocale::LongFormat))
                               .toLatin1()
                               .toStdString();
        logic_.cmd_report_Click(reportFilter(), when);
    });
    logic_.AggiungiVoce = [this] { AggiungiVoce(); };
    AggiungiVoce();
}

frm_LettMAC::~frm_LettMAC() { logic_.AggiungiVoce = nullptr; }

LettMac::Boxes frm_LettMAC::boxes() const { return {bytes(txt_pfc), bytes(txt_anno), bytes(txt_cliente)}; }

MacReportFilter frm_LettMAC::reportFilter() const {
    int by = opt_report[1]->isChecked() ? 1 : opt_report[2]->isChecked() ? 2 : 0;
    return {static_cast<MacReportBy>(by), bytes(txt_pfc), bytes(txt_anno), bytes(txt_cliente)};
}

void frm_LettMAC::AggiungiVoce() {
    lstMAC->clear();
    for (const std::string& line : logic_.lines())
        lstMAC->addItem(latin1(line));
}

void frm_LettMAC::closeEvent(QCloseEvent* event) {
    if (logic_.Form_Unload())
        event->accept();
    else
        event->ignore();
}
