#pragma once
// Line edits whose text is kept as Latin-1 bytes on one line of a project file. A character outside
// Latin-1 or a line break is refused as it is typed or pasted, so the text is never changed behind the
// user's back (to "?" or a blank) when it is stored.
#include <QLineEdit>
#include <QValidator>

class Latin1LineValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        for (QChar c : input)
            if (c.unicode() > 0xFF || c == u'\r' || c == u'\n') return Invalid;
        return Acceptable;
    }
};

inline void keepLatin1Line(QLineEdit* edit) {
    edit->setValidator(new Latin1LineValidator(edit));
}
