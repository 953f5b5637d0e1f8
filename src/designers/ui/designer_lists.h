#pragma once
// Layout pieces the designer windows share.
#include <initializer_list>

#include <QHBoxLayout>
#include <QPushButton>

// Buttons side by side, left aligned; the small list buttons keep a narrow width.
inline QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    for (QPushButton* b : buttons) {
        if (b->text().size() == 1) b->setFixedWidth(32);
        row->addWidget(b);
    }
    row->addStretch();
    return row;
}
