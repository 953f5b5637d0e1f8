#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include "../../app/ui/window_fixture.h"
#include "app/startup.h"
#include "discovery/ui/frm_lettmac.h"
#include "discovery/windows_1252.h"
#include "platform/window_fit.h"
#include "program/transfer/file_output.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"
#include "support/ui/user_input.h"

namespace {

// The register window over a list of one entry, with a file of the temporary folder for its saves.
struct MacWindow {
    explicit MacWindow(const MacEntry& entry, const char* fileName) {
        file = dir.filePath(fileName).toStdString();
        logic.ElencoMAC = {entry};
        window = std::make_unique<frm_LettMAC>(logic);
    }
    AppContextFixture f;
    QTemporaryDir dir;
    std::string file;
    LettMac logic{f.ctx};
    std::unique_ptr<frm_LettMAC> window;
};

// Typed texts reach the list file as Windows-1252 bytes and come back unchanged; a character the code
// page cannot hold is refused with a message, never replaced.
TEST(FrmLettMac, TextsAreWindows1252AndAnUnstorableCharacterIsRefused) {
    MacWindow w({"00-1A-2B-3C-4D-5E", 1, "", "09", ""}, "list.csv");
    auto& [f, dir, file, logic, window] = w;
    const QString typed = QString::fromUtf8("Caf\u00E9 \u2013 5 \u20AC \u2018quoted\u2019");
    child<QLineEdit>(window.get(), "txt_cliente")->setText(typed);
    window->list()->setCurrentRow(0);
    child<QPushButton>(window.get(), "Command2")->click();
    f.dialogs.files = {file};
    ASSERT_TRUE(logic.cmd_SaveFile_Click());
    std::string saved;
    ASSERT_TRUE(ReadWholeFile(file, saved));
    EXPECT_EQ(saved, "1\t00-1A-2B-3C-4D-5E\t/09\tCaf\xE9 \x96 5 \x80 \x91quoted\x92\r\n");

    logic.ElencoMAC.clear();
    logic.FileElenco.clear();
    f.dialogs.files = {file};
    logic.cmd_loadFile_Click();
    EXPECT_TRUE(window->list()->item(0)->text().endsWith("Cl.:" + typed));
    for (uint8_t b = 0x80; b <= 0x9F; ++b) // every byte reads back as written, the five free ones too
        EXPECT_EQ(Windows1252Byte(Windows1252Char(b)), b);

    child<QLineEdit>(window.get(), "txt_cliente")->setText(QString::fromUtf8("Caf\u00E9 \u4E2D"));
    window->list()->setCurrentRow(0);
    f.dialogs.choices = {MsgChoice::Yes};
    child<QPushButton>(window.get(), "Command2")->click();
    EXPECT_EQ(f.dialogs.shown.back(),
              "Cliente: il carattere U+4E2D non si pu\xF2 scrivere nel file (Windows-1252)");
    EXPECT_EQ(logic.ElencoMAC[0].Cliente, "Caf\xE9 \x96 5 \x80 \x91quoted\x92");
    EXPECT_FALSE(logic.ElencoModificato);
}

// The report is Windows-1252 too: the filter's typed text, and a date the code page can hold even where
// the locale writes its digits in another script.
TEST(FrmLettMac, TheReportIsWindows1252InEveryLocale) {
    MacWindow w({"00-1A-2B-3C-4D-5E", 1, "", "09", "Caf\xE9 \x80"}, "report.txt");
    auto& [f, dir, file, logic, window] = w;
    child<QLineEdit>(window.get(), "txt_cliente")->setText(QString::fromUtf8("Caf\u00E9 \u20AC"));
    window->findChildren<QRadioButton*>()[1]->setChecked(true); // by customer
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    f.dialogs.files = {file};
    child<QPushButton>(window.get(), "cmd_report")->click();
    QLocale::setDefault(before);
    std::string report;
    ASSERT_TRUE(ReadWholeFile(file, report));
    const auto lines = QString::fromLatin1(report.c_str()).split("\r\n");
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines[0].toLatin1().toStdString(), "Report MAC per Cliente Caf\xE9 \x80");
    EXPECT_TRUE(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$").match(lines[1]).hasMatch())
        << lines[1].toStdString();
    EXPECT_EQ(lines[4].toLatin1().toStdString(), "1\t00-1A-2B-3C-4D-5E\t___/__\tCaf\xE9 \x80");
}

// The close box clicked while "Carica MAC" waits for an answer that comes after the time-out is carried
// out once the read has ended, after its error box: the modified list asks its save question, and No
// closes. A click may lose its release: a box that opens while the button is down takes the pointer's
// input, and the release goes with it.
TEST(FrmLettMac, TheCloseBoxClickedDuringTheReadClosesTheWindowAfterItsError) {
    struct Row {
        const char* name;
        std::initializer_list<QEvent::Type> presses;
    };
    for (const Row& row : {Row{"click", {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}},
                           Row{"release lost to the box", {QEvent::MouseButtonPress}}}) {
        SCOPED_TRACE(row.name);
        SimController sim{1};
        SimSession s;
        ShellProcedures procs;
        MainWindow window{s.app, procs};
        QTemporaryDir folder;
        BuildFlags internal = ThisBuild;
        internal.Internal = -1;
        Main(s.app, &window, {internal, folder.path().toStdString()});
        window.bindCommands();
        window.takeCloseDuringRequests(s.pump);
        window.show();
        s.comm->CurrentDevice.LinkTimeout = 300;
        ASSERT_TRUE(s.connectTcp(sim.startTcp()));
        window.menuItem("mnu_mac")->trigger();
        auto* mac = window.findChild<frm_LettMAC*>();
        ASSERT_TRUE(mac);
        QPushButton* read = child<QPushButton>(mac, "Command1");
        read->click(); // answered: the list holds a MAC it did not hold before
        ASSERT_EQ(mac->list()->count(), 1);
        const QPointer<QMdiSubWindow> sub = subWindowOf(mac);
        const size_t before = sim.transcript().size();
        sim.inject({SimFault::Delay, 600});
        QTimer closer; // once the read is in
        closer.callOnTimeout([&] {
            if (sim.transcript().size() == before) return;
            closer.stop();
            pointAsTheUser(sub, closeBoxOf(sub), row.presses);
        });
        closer.start(10);
        s.dialogs.shown.clear();
        s.dialogs.choices = {MsgChoice::Ok, MsgChoice::No};
        read->click();
        s.pump.waitUntil([&] { return !sub || sub->isHidden(); }, 2000, false);
        EXPECT_EQ(
            s.dialogs.shown,
            (std::vector<std::string>{"Errore Lettura", "L'elenco \xE8 stato modificato. Salvare il file?"}));
        EXPECT_TRUE(!sub || sub->isHidden());
    }
}

} // namespace
