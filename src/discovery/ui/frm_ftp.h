#pragma once
// frm_FTP: the listing of the FTP account's top directory, a thin view over FtpBrowser. The account
// (host, user, password) is edited in the window and kept by the browser's owner.
#include <QWidget>

#include "discovery/ftp_listing.h"

class QLabel;
class QLineEdit;
class QListWidget;

class frm_FTP : public QWidget {
    Q_OBJECT
  public:
    frm_FTP(FtpBrowser& browser, FtpAccount& account, QWidget* parent = nullptr);
    ~frm_FTP() override;

    QListWidget* list() const { return ListView1; }
    void Command1_Click();

  private:
    void showRows();

    FtpBrowser& browser_;
    FtpAccount& account_;
    QLineEdit* host_;
    QLineEdit* user_;
    QLineEdit* password_;
    QListWidget* ListView1;
    QLabel* status_; // why the last listing brought no rows
};
