#pragma once
// One saved field in a designer window: its caption and its edit box, a check box for a flag. An edit
// is handed to commit when the box loses focus or Enter is pressed; the window then shows the record
// again, so a refused text gives way to the stored value.
#include <functional>
#include <string>

#include <QObject>

#include "designers/record_fields.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QWidget;

class FieldEditor : public QObject {
  public:
    FieldEditor(FieldKind kind, QWidget* parent);

    QLabel* label() const { return label_; }
    QWidget* editor() const;
    void setCaption(const std::string& caption);
    const std::string& caption() const { return caption_; }
    // Shows a stored value without committing it.
    void show(const std::string& text);
    void setEnabled(bool enabled);

    std::function<void(const std::string& text)> commit;

  private:
    void edited(const std::string& text);
    QLabel* label_;
    QLineEdit* line_ = nullptr;
    QCheckBox* check_ = nullptr;
    std::string caption_, shown_;
    bool busy_ = false;
};

// Latin-1 bytes of a window text and back: the records keep single-byte texts.
QString latin1Text(const std::string& s);
std::string latin1Bytes(const QString& s);
