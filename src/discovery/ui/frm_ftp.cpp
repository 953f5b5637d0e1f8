#include "discovery/ui/frm_ftp.h"

#include <algorithm>

#include <QAbstractListModel>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QString latin1(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}
std::string bytes(const QLineEdit* box) {
    return box->text().toLatin1().toStdString();
}

// The browser's rows without a copy: the largest listing shows at once and costs no second list.
class RowsModel : public QAbstractListModel {
  public:
    RowsModel(const std::vector<std::string>& rows, QObject* parent)
        : QAbstractListModel(parent), rows_(rows) {}
    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid() || static_cast<size_t>(index.row()) >= rows_.size())
            return {};
        return latin1(rows_[static_cast<size_t>(index.row())]);
    }
    void changed() {
        beginResetModel();
        endResetModel();
    }

  private:
    const std::vector<std::string>& rows_;
};

} // namespace

frm_FTP::frm_FTP(FtpBrowser& browser, FtpAccount& account, QWidget* parent)
    : QWidget(parent), browser_(browser), account_(account) {
    setWindowTitle("FTP Listing");
    host_ = new QLineEdit(latin1(account.host));
    host_->setObjectName("host");
    user_ = new QLineEdit(latin1(account.user));
    user_->setObjectName("user name");
    password_ = new QLineEdit(latin1(account.password));
    password_->setObjectName("password");
    password_->setEchoMode(QLineEdit::Password);
    auto* form = new QFormLayout;
    form->addRow("Host", host_);
    form->addRow("User", user_);
    form->addRow("Password", password_);

    auto* list = new QPushButton("List Folder");
    list->setObjectName("Command1");
    auto* open = new QPushButton("Open export.txt");
    open->setObjectName("Command2");
    ListView1 = new QListView;
    ListView1->setObjectName("ListView1");
    ListView1->setMinimumSize(420, 260);
    // Rows of one height, a long one elided: the view never measures every row.
    ListView1->setUniformItemSizes(true);
    ListView1->setTextElideMode(Qt::ElideRight);
    ListView1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setModel(rows_ = new RowsModel(browser_.rows, ListView1));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(list);
    buttons->addWidget(open);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    status_ = new QLabel;
    status_->setObjectName("status");
    status_->setWordWrap(true);
    layout->addWidget(status_);
    layout->addWidget(ListView1, 1);

    connect(list, &QPushButton::clicked, this, &frm_FTP::Command1_Click);
    // "export.txt" of the program's working folder, in the desktop's program for it.
    connect(open, &QPushButton::clicked, this,
            [] { QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::current().filePath("export.txt"))); });
    browser_.rowsChanged = [this] { showRows(); };
    showRows();
}

frm_FTP::~frm_FTP() {
    browser_.rowsChanged = nullptr;
}

void frm_FTP::closeEvent(QCloseEvent* event) {
    browser_.stop();
    event->accept();
}

void frm_FTP::Command1_Click() {
    // The account goes out as typed or not at all: a character outside Latin-1 would become "?".
    for (const QLineEdit* box : {host_, user_, password_}) {
        const QString t = box->text();
        if (std::any_of(t.begin(), t.end(), [](QChar c) { return c.unicode() > 0xFF; })) {
            status_->setText("FTP: the " + box->objectName() +
                             " holds a character outside Latin-1: nothing was listed");
            return;
        }
    }
    account_ = {bytes(host_), bytes(user_), bytes(password_)};
    if (!browser_.Command1_Click(account_) && browser_.busy())
        status_->setText("FTP: the listing asked for before is still running");
}

void frm_FTP::showRows() {
    static_cast<RowsModel*>(rows_)->changed();
    status_->setText(latin1(browser_.lastError));
}
