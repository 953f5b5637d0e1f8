#include "tools/ui/tool_table.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

#include "fbeditor/ui/state_view.h"

QTableWidget* makeToolTable(const QStringList& headers) {
    auto* t = new QTableWidget(0, int(headers.size()));
    t->setHorizontalHeaderLabels(headers);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->verticalHeader()->hide();
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch); // the columns share the width
    return t;
}

void fillTable(QTableWidget& table, const std::vector<std::vector<std::string>>& rows) {
    table.setRowCount(int(rows.size()));
    for (int r = 0; r < table.rowCount(); ++r)
        for (int c = 0; c < table.columnCount() && c < int(rows[size_t(r)].size()); ++c) {
            QTableWidgetItem* item = table.item(r, c);
            if (!item) table.setItem(r, c, item = new QTableWidgetItem);
            item->setText(latin1(rows[size_t(r)][size_t(c)]));
        }
}

QHBoxLayout* keyRow(std::initializer_list<QPushButton*> keys) {
    auto* row = new QHBoxLayout;
    for (QPushButton* k : keys)
        row->addWidget(k);
    row->addStretch();
    return row;
}
