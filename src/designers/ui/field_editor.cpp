#include "designers/ui/field_editor.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include "platform/latin1_line.h"

QString latin1Text(const std::string& s) {
    return QString::fromLatin1(s.data(), qsizetype(s.size()));
}

std::string latin1Bytes(const QString& s) {
    return s.toLatin1().toStdString();
}

FieldEditor::FieldEditor(FieldKind kind, QWidget* parent) : QObject(parent), label_(new QLabel(parent)) {
    if (kind == FieldKind::Flag) {
        check_ = new QCheckBox(parent);
        connect(check_, &QCheckBox::clicked, this, [this](bool on) { edited(on ? "1" : "0"); });
        return;
    }
    line_ = new QLineEdit(parent);
    keepLatin1Line(line_);
    line_->setMinimumWidth(kind == FieldKind::Text ? 140 : 60);
    if (kind != FieldKind::Text) line_->setMaximumWidth(110);
    connect(line_, &QLineEdit::editingFinished, this, [this] { edited(latin1Bytes(line_->text())); });
}

QWidget* FieldEditor::editor() const {
    return line_ ? static_cast<QWidget*>(line_) : check_;
}

void FieldEditor::setCaption(const std::string& caption) {
    caption_ = caption;
    label_->setText(latin1Text(caption));
}

void FieldEditor::show(const std::string& text) {
    shown_ = text;
    if (line_) {
        const QSignalBlocker block(line_);
        line_->setText(latin1Text(text));
    } else {
        const QSignalBlocker block(check_);
        check_->setChecked(text == "1");
    }
}

void FieldEditor::setEnabled(bool enabled) {
    editor()->setEnabled(enabled);
}

void FieldEditor::edited(const std::string& text) {
    // The refusal's message box takes the focus away, which ends the edit once more.
    if (busy_ || text == shown_ || !commit) return;
    busy_ = true;
    commit(text);
    busy_ = false;
}
