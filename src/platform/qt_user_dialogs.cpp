#include "platform/qt_user_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <vector>

namespace {

QString latin1(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// Lines may be separated by a carriage return alone; the box breaks lines on line feeds.
QString boxText(QString t) {
    t.replace("\r\n", "\n");
    t.replace('\r', '\n');
    return t;
}

// A box shown during a long command gets the arrow back while it is open.
class ArrowWhileOpen {
  public:
    ArrowWhileOpen() {
        while (QApplication::overrideCursor()) {
            cursors_.push_back(*QApplication::overrideCursor());
            QApplication::restoreOverrideCursor();
        }
    }
    ~ArrowWhileOpen() {
        for (auto it = cursors_.rbegin(); it != cursors_.rend(); ++it)
            QApplication::setOverrideCursor(*it);
    }

  private:
    std::vector<QCursor> cursors_;
};

QMessageBox::Icon qtIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::AbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case MsgButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

MsgChoice showBox(QWidget* parent, const QString& title, const QString& text, MsgButtons buttons,
                  MsgIcon icon) {
    ArrowWhileOpen arrow;
    QMessageBox box(qtIcon(icon), title, boxText(text), qtButtons(buttons), parent);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return MsgChoice::Ok;
    case QMessageBox::Yes:
        return MsgChoice::Yes;
    case QMessageBox::No:
        return MsgChoice::No;
    case QMessageBox::Abort:
        return MsgChoice::Abort;
    case QMessageBox::Retry:
        return MsgChoice::Retry;
    case QMessageBox::Ignore:
        return MsgChoice::Ignore;
    default:
        break;
    }
    // Closing the box is the way out: Cancel, or No where there is no Cancel.
    return buttons == MsgButtons::YesNo ? MsgChoice::No : MsgChoice::Cancel;
}

} // namespace

MsgChoice QtUserDialogs::messageBox(const std::string& text, MsgButtons buttons, MsgIcon icon,
                                    const std::string& title) {
    return showBox(parent_, latin1(titleOr(title)), latin1(text), buttons, icon);
}

MsgChoice QtUserDialogs::messageBoxUtf8(const std::string& text, MsgButtons buttons, MsgIcon icon,
                                        const std::string& title) {
    return showBox(parent_, latin1(titleOr(title)),
                   QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), buttons, icon);
}

std::optional<std::string> QtUserDialogs::inputBox(const std::string& prompt, const std::string& title,
                                                   const std::string& initial) {
    ArrowWhileOpen arrow;
    bool ok = false;
    QString v = QInputDialog::getText(parent_, latin1(titleOr(title)), boxText(latin1(prompt)),
                                      QLineEdit::Normal, latin1(initial), &ok);
    if (!ok) return std::nullopt;
    QByteArray bytes = v.toLatin1();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

std::string qtFileFilter(const std::string& filter) {
    QStringList parts = latin1(filter).split('|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        if (!name.contains('(')) name += " (" + patterns + ")";
        out << name;
    }
    QByteArray bytes = out.join(";;").toLatin1();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

std::string QtUserDialogs::openFile(const std::string& filter, const std::string& title) {
    ArrowWhileOpen arrow;
    return QFileDialog::getOpenFileName(parent_, latin1(titleOr(title)), {}, latin1(qtFileFilter(filter)))
        .toStdString();
}

std::string saveSuffix(const std::string& filter) {
    const QStringList parts = latin1(filter).split('|');
    if (parts.size() < 2) return {};
    const QString first = parts[1].split(';').first().trimmed();
    if (!first.startsWith("*.")) return {};
    const QString suffix = first.mid(2);
    if (suffix.isEmpty() || suffix.contains('*') || suffix.contains('?')) return {};
    return suffix.toStdString();
}

std::string QtUserDialogs::saveFile(const std::string& filter, const std::string& title) {
    ArrowWhileOpen arrow;
    // A name typed without an extension gets the first kind's, which the overwrite question then sees.
    QFileDialog dialog(parent_, latin1(titleOr(title)), {}, latin1(qtFileFilter(filter)));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString::fromStdString(saveSuffix(filter)));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first().toStdString();
}
