#include "factorytest/ui/field_bindings.h"

#include <QLineEdit>
#include <QPushButton>

QString l1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QLineEdit* FieldBindings::edit(std::string& text, const QString& objectName, int width,
                               std::function<void()> typed) {
    auto* box = new QLineEdit(l1(text));
    box->setObjectName(objectName);
    box->setFixedWidth(width);
    QObject::connect(box, &QLineEdit::textEdited, box, [&text, typed](const QString& t) {
        text = t.toLatin1().toStdString();
        if (typed) typed();
    });
    edits_.emplace_back(box, &text);
    return box;
}

QPushButton* FieldBindings::command(const QString& caption, const QString& objectName,
                                    std::function<void()> clicked) {
    auto* button = new QPushButton(caption);
    button->setObjectName(objectName);
    QObject::connect(button, &QPushButton::clicked, button, std::move(clicked));
    commands_.push_back(button);
    return button;
}

void FieldBindings::refresh(bool locked) {
    for (auto& [box, text] : edits_)
        if (box->text() != l1(*text)) box->setText(l1(*text));
    for (QPushButton* b : commands_)
        b->setEnabled(!locked);
}
