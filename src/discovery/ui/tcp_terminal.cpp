#include "discovery/ui/tcp_terminal.h"

#include <algorithm>

#include <QFontDatabase>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

TcpTerminal::TcpTerminal(const QString& host, uint16_t port, QWidget* parent) : QWidget(parent) {
    setWindowTitle(QString("%1:%2").arg(host).arg(port));
    screen_ = new QPlainTextEdit;
    screen_->setReadOnly(true);
    screen_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    screen_->setMinimumSize(560, 320);
    screen_->setMaximumBlockCount(ScrollBackLines); // the oldest lines go first
    input_ = new QLineEdit;
    input_->setPlaceholderText("Enter sends the line with a carriage return");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(screen_, 1);
    layout->addWidget(input_);

    link_.onBytesReceived = [this] {
        const std::string bytes = link_.readAll();
        append(QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())).remove('\r'));
    };
    link_.onLinkLost = [this](const std::string& reason) {
        append(QString("\n-- connection closed: %1 --\n").arg(QString::fromStdString(reason)));
    };
    connect(input_, &QLineEdit::returnPressed, this, [this] {
        if (!link_.isConnected()) {
            append(link_.failed() ? "\n-- not connected --\n" : "\n-- still connecting --\n");
            return;
        }
        // A character the console cannot take is never sent as another: the line stays to be corrected.
        const QString line = input_->text();
        if (std::any_of(line.begin(), line.end(), [](QChar c) { return c.unicode() > 0xFF; })) {
            append("\n-- not sent: the console takes Latin-1 characters only --\n");
            return;
        }
        link_.write(line.toLatin1().toStdString() + "\r");
        input_->clear();
    });
    append(QString("-- connecting to %1:%2 --\n").arg(host).arg(port));
    link_.connectTcp(host.toStdString(), port);
    // The connection's outcome, told once.
    auto* watch = new QTimer(this);
    connect(watch, &QTimer::timeout, this, [this, watch] {
        if (link_.isConnected()) {
            append("-- connected --\n");
        } else if (link_.failed()) {
            append(QString("-- could not connect: %1 --\n").arg(QString::fromStdString(link_.error())));
        } else {
            return;
        }
        watch->stop();
        input_->setFocus();
    });
    watch->start(100);
}

void TcpTerminal::append(const QString& text) {
    // A line without end is shown in pieces, so the bounded scroll-back bounds the memory too.
    QString shown;
    shown.reserve(text.size());
    for (QChar c : text) {
        if (c == '\n') {
            column_ = 0;
        } else if (++column_ > LongestLine) {
            shown += '\n';
            column_ = 1;
        }
        shown += c;
    }
    screen_->moveCursor(QTextCursor::End);
    screen_->insertPlainText(shown);
    screen_->verticalScrollBar()->setValue(screen_->verticalScrollBar()->maximum());
}
