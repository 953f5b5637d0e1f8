#pragma once
// frm_FTP: the listing of the FTP account's top directory, a thin view over FtpBrowser. The account
// (host, user, password) is edited in the window and kept by the browser's owner.
#include <QWidget>

#include "discovery/ftp_listing.h"

class QAbstractListModel;
class QLabel;
class QLineEdit;
class QListView;

class frm_FTP : public QWidget {
    Q_OBJECT
  public:
    frm_FTP(FtpBrowser& browser, FtpAccount& account, QWidget* parent = nullptr);
    ~frm_FTP() override;

    QListView* list() const { return ListView1; }
    void Command1_Click();

  protected:
    void closeEvent(class QCloseEvent* event) override; // a running listing ends with the window

  private:
    void showRows();

    FtpBrowser& browser_;
    FtpAccount& account_;
    QLineEdit* host_;
    QLineEdit* user_;
    QLineEdit* password_;
    QListView* ListView1;
    QAbstractListModel* rows_; // the browser's rows as they stand, read only for the rows in sight
    QLabel* status_;           // why the last listing brought no rows
};
