#pragma once
// frmAbout: program name, icon and version, and a button that starts a system-information program.
#include <functional>
#include <QDialog>
#include <QString>

struct AppContext;
class LanguageSwitch;
class QLabel;
class QPushButton;

class AboutBox : public QDialog {
    Q_OBJECT
  public:
    // startProgram runs a program by path and tells whether it started.
    using ProgramStarter = std::function<bool(const QString&)>;

    AboutBox(AppContext& ctx, const QString& programName, LanguageSwitch& languages,
             QWidget* parent = nullptr);
    ~AboutBox() override;

    void SetRes();
    void StartSysInfo();
    // The system-information program found on the PATH, empty when none is installed.
    static QString findSysInfo();
    void setProgramStarter(ProgramStarter starter) { startProgram_ = std::move(starter); }
    void setSysInfoFinder(std::function<QString()> finder) { findSysInfo_ = std::move(finder); }

  private:
    AppContext& ctx_;
    QString programName_;
    LanguageSwitch& languages_;
    QLabel *picIcon, *lblTitle, *lblVersion;
    QPushButton *cmdOK, *cmdSysInfo;
    ProgramStarter startProgram_;
    std::function<QString()> findSysInfo_;
};
