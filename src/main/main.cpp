#include <QApplication>
#include <QDesktopServices>
#include <QPointer>
#include <QScreen>
#include <QUrl>

#include "app/app_context.h"
#include "app/button_groups.h"
#include "app/shell_procedures.h"
#include "app/ui/main_window.h"
#include "comm/comm_state.h"
#include "platform/qt_event_pump.h"
#include "platform/qt_user_dialogs.h"
#include "program/transfer/export_file.h"
#include "program/ui/frm_download.h"
#include "project/project.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ShellState shell;
    CommState comm;
    Project project;
    QtEventPump pump;
    QtUserDialogs dialogs;
    AppContext ctx{shell, comm, project, pump, dialogs};

    ShellProcedures procs;
    procs.OpenUrl = [](const std::string& url) { QDesktopServices::openUrl(QUrl(QString::fromLatin1(url.c_str()))); };

    MainWindow window(ctx, procs, "Melqo");
    QPointer<frm_Download> download; // one download window at a time, made on first use
    procs.ApriDownload = [&] {
        if (!download) download = new frm_Download(ctx, true, &window);
        download->show();
        download->raise();
        download->activateWindow();
    };
    ApplicationBusyPointer exportPointer;
    procs.Esporta = [&](bool header, bool areas) { Esporta(ctx, TransferView{nullptr, &exportPointer}, header, areas); };
    dialogs.setParent(&window);
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    window.loadWindowSteps(dpi);
    window.bindCommands();
    window.SetRes();
    AggiornaStato(ctx);
    window.show();
    return app.exec();
}
