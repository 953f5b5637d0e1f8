#pragma once
// frm_Download: the download options over the headless download sequence. It unloads itself when the
// sequence ends, and neither starts a second run nor closes while one is running. Every opening sets the
// boxes afresh for the model selected then.
#include <QWidget>

#include "program/transfer/download_sequence.h"
#include "program/ui/transfer_widgets.h"

class QCheckBox;
class QProgressBar;
class QPushButton;
struct AppContext;

class frm_Download : public QWidget {
    Q_OBJECT
public:
    // modoDownload: offer the download button (true) or the export button (false).
    frm_Download(AppContext& app, bool modoDownload, QWidget* parent = nullptr);

    DownloadOptions options() const;
    bool running() const { return running_; }

    // Redraws the register view after the register clear.
    std::function<void()> refreshRegisters;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void cmdDownload_Click();
    QCheckBox* check(const char* name, const QString& caption);

    AppContext& app_;
    QCheckBox *chk_download, *chk_var, *chk_str, *chk_sms, *chk_Verify, *chk_run, *chk_Clear;
    QProgressBar* Barra;
    QPushButton *cmdDownload, *cmd_Export;
    WidgetProgressBar bar_;
    ApplicationBusyPointer pointer_;
    bool modoDownload_;
    bool running_ = false;
};
