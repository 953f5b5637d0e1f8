#include "factorytest/ui/frm_q7r218.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "factorytest/energy_meter/energy_meter_blocks.h"
#include "factorytest/ui/bench_widgets.h"

frm_Q7R218::frm_Q7R218(EnergyMeterReader& reader, QWidget* parent) : QWidget(parent), reader_(reader) {
    setObjectName("frm_Q7R218");
    setWindowTitle("Form1");
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("Address"));
    top->addWidget(fields_.edit(reader_.Indirizzo, "Indirizzo", 50));
    cmd_Read = fields_.command("Update", "cmd_Read_0", [this] { reader_.cmd_Read_Click(); });
    cmd_start = fields_.command("Start", "cmd_start", [this] { reader_.cmd_start_Click(); });
    cmd_stop = new QPushButton("Stop");
    cmd_stop->setObjectName("cmd_stop");
    connect(cmd_stop, &QPushButton::clicked, this, [this] { reader_.cmd_stop_Click(); });
    top->addWidget(cmd_Read);
    top->addWidget(cmd_start);
    top->addWidget(cmd_stop);
    top->addStretch();

    // Blocks 1-3 are the labelled values, 4-6 the unlabelled registers in the frame "Input".
    auto* labelled = new QHBoxLayout;
    auto* frm_input = new QGroupBox("Input");
    auto* unlabelled = new QHBoxLayout(frm_input);
    const auto& blocks = EnergyMeterBlocks();
    for (size_t b = 0; b < lists.size(); ++b) {
        auto* list = new QTreeWidget;
        list->setObjectName(blocks[b].List);
        list->setColumnCount(blocks[b].Names.empty() ? 2 : 3);
        list->setHeaderHidden(true);
        list->setRootIsDecorated(false);
        list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        list->setMinimumWidth(b < 3 ? 300 : 110);
        lists[b] = list;
        (b < 3 ? labelled : unlabelled)->addWidget(list, b < 3 ? 3 : 1);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(labelled, 1);
    layout->addWidget(frm_input, 1);
    reader_.onChanged = [this] { refresh(); };
    UnloadOnClose(this, [this] { reader_.Form_Unload(); });
    reader_.Form_Load();
}

frm_Q7R218::~frm_Q7R218() {
    reader_.onChanged = nullptr;
}

namespace {

QStringList columns(const std::string& row) {
    return l1(row).split('\t', Qt::SkipEmptyParts);
}

} // namespace

// Rows are replaced in place, so a list never grows past its block and keeps its scroll position.
void frm_Q7R218::refresh() {
    fields_.refresh(reader_.busy());
    for (size_t b = 0; b < lists.size(); ++b) {
        QTreeWidget* list = lists[b];
        const auto& rows = reader_.lists[b];
        while (list->topLevelItemCount() > static_cast<int>(rows.size()))
            delete list->takeTopLevelItem(list->topLevelItemCount() - 1);
        for (size_t r = 0; r < rows.size(); ++r) {
            const QStringList texts = columns(rows[r]);
            QTreeWidgetItem* item = list->topLevelItem(static_cast<int>(r));
            if (!item) item = new QTreeWidgetItem(list);
            for (int c = 0; c < texts.size(); ++c)
                if (item->text(c) != texts[c]) item->setText(c, texts[c]);
        }
    }
}
