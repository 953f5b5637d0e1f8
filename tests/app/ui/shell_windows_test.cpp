// The main window and the shell's own dialogs, headless: what they show, what their keys and items do.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QToolBar>

#include "app/ui/about_box.h"
#include "app/ui/project_navigator.h"
#include "app/ui/ui_texts.h"
#include "core/build_flags.h"
#include "core/language.h"
#include "core/settings_file.h"
#include "core/toolbar_layout.h"
#include "discovery/mac_register.h"
#include "discovery/ui/frm_lettmac.h"
#include "fbeditor/ui/input_tab.h"
#include "platform/qt_user_dialogs.h"
#include "program/transfer/file_output.h"
#include "project/ui/frm_variabili.h"
#include "window_fixture.h"

namespace {

struct Started : WindowFixture {
    explicit Started(uint8_t model = DefaultModelIndex) {
        comm.CurrentDevice.ModelIndex = model;
        start();
    }
};

TEST(MainWindow, StartsAtItsSizeWithTheKeysInOrderWithPicturesAndTheLogAtTheTopFollowingTheLog) {
    Started f;
    EXPECT_EQ(f.window->windowTitle(), "Melqo");
    // 16000 x 13000 twips at 96 dpi, as far as the screen has room.
    const QSize room = f.window->screen()->availableGeometry().size();
    EXPECT_EQ(f.window->width(), std::min(1067, room.width()));
    EXPECT_LE(f.window->height(), std::min(867, room.height()));
    QMdiSubWindow* log = f.window->logSubWindow();
    ASSERT_TRUE(log);
    // Wider than the narrow design width: a date header and a connection line fit.
    EXPECT_EQ((std::tuple{log->x(), log->y(), log->height()}), (std::tuple{0, 0, 200}));
    EXPECT_GE(log->width(), f.window->fontMetrics().horizontalAdvance(QString(40, u'0')));
    EXPECT_FALSE(f.window->windowIcon().isNull());

    QList<QAction*> actions = f.window->toolbar()->actions();
    ASSERT_EQ(actions.size(), qsizetype(ToolbarLayout.size()));
    for (size_t i = 0; i < ToolbarLayout.size(); ++i) {
        const auto& e = ToolbarLayout[i];
        QAction* a = actions[static_cast<qsizetype>(i)];
        EXPECT_EQ(a->objectName().toStdString(), e.Key);
        EXPECT_TRUE(e.Key.empty() ? a->isSeparator() : !a->icon().pixmap(16, 16).isNull()) << i;
        EXPECT_TRUE(a->toolTip().toStdString().starts_with(e.Tooltip)) << i;
    }
    // The download key, disabled without a controller in Debug mode, says so.
    EXPECT_EQ(f.window->button("download")->toolTip(), "Download (needs a connected controller in Debug mode)");
    EXPECT_FALSE(f.window->button("rung_redo")->isVisible());
    // The log window follows the log.
    f.shell.log.LogWrite("Compiling");
    f.shell.log.LogWrite("");
    auto* list = qobject_cast<QListWidget*>(f.window->logSubWindow()->widget());
    ASSERT_TRUE(list);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "Compiling  ");
    EXPECT_EQ(list->item(1)->text(), "  ");
    EXPECT_EQ(list->currentRow(), 1);
    f.shell.log.LogClear();
    EXPECT_EQ(list->count(), 0);
    f.window->logSubWindow()->close();
    f.window->menuItem("mnu_log")->trigger();
    EXPECT_FALSE(f.window->logSubWindow()->isHidden());
}

TEST(MainWindow, KeysWithoutATargetInThisBuildAreDisabled) {
    Started f; // nothing bound but the shell's own windows
    for (const char* key :
         {"proj_new", "proj_open", "connect", "proj_comp", "view_http", "upload", "new_sub"})
        EXPECT_FALSE(f.window->button(key)->isEnabled()) << key;
    EXPECT_TRUE(f.window->button("view_reg")->isEnabled());
    // Print is a menu of internal builds only, which alone are built with printing.
    EXPECT_FALSE(f.window->menuItem("mnu_print")->isVisible());
    f.window->ShowInternalMenus(true);
    EXPECT_EQ(f.window->menuItem("mnu_print")->isEnabled(), BuildInternal != 0);
    EXPECT_EQ(f.window->menuItem("mnu_print")->isVisible(), BuildInternal != 0);
    for (const char* item : {"mnu_Export", "mnu_collaudo"})
        EXPECT_TRUE(f.window->menuItem(item)->isVisible()) << item;
    for (const char* item : {"mnu_new", "mnu_openProj", "mnu_saveAs", "mnu_FB_copy"})
        EXPECT_FALSE(f.window->menuItem(item)->isEnabled()) << item;
    for (const char* item :
         {"mnu_exit", "mnu_controller", "mnu_workspace", "mnu_log", "mnu_Registri", "mnu_Watch",
          "mnu_dialoga", "mnu_About", "mnu_7403", "mnu_scheduler", "mnu_images", "mnu_search"})
        EXPECT_TRUE(f.window->menuItem(item)->isEnabled()) << item;
}

TEST(MainWindow, BoundKeysFollowTheGroupsAndRouteThroughTheRefresh) {
    WindowFixture f;
    f.procs = f.recordingProcedures(true, -1);
    f.procs.CompilaProgramma = [&] { f.calls.push_back("CompilaProgramma"); };
    f.procs.ImpostaModoDebug = [&](bool on) { f.calls.push_back(on ? "debug on" : "debug off"); };
    f.comm.CurrentDevice.ModelIndex = 0;
    f.start();
    EXPECT_FALSE(f.window->button("debug")->isEnabled());
    f.window->button("connect")->trigger();
    EXPECT_EQ(f.calls.size(), 4u);
    EXPECT_EQ(f.window->statusPanel(2)->text(), "Debug Mode");
    EXPECT_EQ(f.window->statusPanel(6)->text(), "JXV8410");
    EXPECT_TRUE(f.window->button("run")->isEnabled()); // in debug mode by the groups
    f.window->button("release")->trigger();
    EXPECT_EQ(f.calls.back(), "LeggiStatoPLC");
    EXPECT_EQ(f.calls[f.calls.size() - 2], "debug off");
    // The mode read keeps DebugMode itself: the key stores nothing of its result.
    f.comm.CurrentDevice.DebugMode = 0;
    ASSERT_TRUE(f.window->button("debug")->isEnabled());
    f.window->button("debug")->trigger();
    EXPECT_EQ(f.comm.CurrentDevice.DebugMode, 0);
    f.comm.PollStop = 0;
    f.window->button("proj_comp")->trigger();
    EXPECT_EQ(f.comm.PollStop, 1);
    EXPECT_EQ(f.calls.back(), "CompilaProgramma");
}

std::string visibleTree(const QList<QAction*>& actions, const std::string& indent = "") {
    std::string out;
    for (QAction* a : actions) {
        if (!a->isVisible()) continue;
        out += indent + (a->isSeparator() ? "-" : a->text().toStdString()) + "\n";
        if (a->menu()) out += visibleTree(a->menu()->actions(), indent + "  ");
    }
    return out;
}

TEST(MainWindow, MenuBarShowsTheShippedMenusAndTheModelItems) {
    Started f(9); // a controller with a display
    EXPECT_EQ(
        visibleTree(f.window->menuBar()->actions()),
        "Project\n  New\n  Open...\n  Close\n  Save as...\n  Exit\n"
        "Settings\n  Controller\n  Workspace\n"
        "View\n  Program\n  Registers\n  Watch\n  Log\n"
        "Tools\n  Search\n  Immages\n  Config\n  Variables\n  Modbus\n  Scheduler\n  Display\n  Tables\n"
        "?\n  About\n");
    f.comm.CurrentDevice.ModelIndex = 48;
    AggiornaStato(f.ctx); // the internal edition shows both menus for every model
    EXPECT_EQ(f.window->menuItem("mnu_program")->isVisible(), BuildInternal != 0);
    EXPECT_EQ(f.window->menuItem("mnu_display")->isVisible(), BuildInternal != 0);
    ASSERT_TRUE(f.window->popupMenu("mnu_FB"));
    EXPECT_EQ(visibleTree(f.window->popupMenu("mnu_FB")->actions()),
              "Copy\nPaste\n-\nModify\nDelete\n-\nInsert Before\nInsert After\n-\nToggle Break\n");
    EXPECT_EQ(f.window->popupMenu("mnu_Cont")->actions().size(), 6);
}

// The settings dialog's language option switches at once; its cancel leaves the switch, unsaved.
TEST(MainWindow, LanguageSwitchChangesMenuCaptionsAndOpenWindows) {
    WindowFixture f;
    std::vector<int> loads;
    f.procs.CaricaRisorse = [&](uint8_t lang) {
        loads.push_back(lang);
        CaricaRisorse(f.shell, lang);
    };
    f.procs.SaveSettings = [&] { f.calls.push_back("SaveSettings"); };
    f.start();
    SettingsDialog* d = f.window->openSettings(SettingsDialog::WorkspacePage);
    child<QRadioButton>(d, "opt_lang0")->click();
    EXPECT_EQ(f.window->menuItem("mnu_project")->text(), "Progetto");
    EXPECT_EQ(f.window->menuItem("mnu_Watch")->text(), "Watch"); // a fixed caption
    EXPECT_EQ(d->windowTitle(), "Impostazioni");
    EXPECT_EQ(child<QGroupBox>(d, "Frame4")->title(), "Lingua");
    EXPECT_EQ(child<QPushButton>(d, "cmd_ok0")->text(), "Annulla");
    child<QPushButton>(d, "cmd_ok0")->click();
    EXPECT_EQ(loads, (std::vector<int>{0}));
    EXPECT_EQ(f.shell.Language, 0);
    EXPECT_EQ(f.window->menuItem("mnu_project")->text(), "Progetto");
    EXPECT_TRUE(f.calls.empty()); // nothing saved
    // A window opened later shows the current language at once.
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(f.window->openSettings(SettingsDialog::WorkspacePage)->windowTitle(), "Impostazioni");
}

TEST(MainWindow, ClosingAsksOnlyForAModifiedProjectAndStaysWhenTheSaveFails) {
    WindowFixture f;
    bool saveWorks = false;
    f.procs.SalvaProgetto = [&](bool) {
        if (saveWorks) f.project.ProjectModified = 0;
        return saveWorks;
    };
    f.start();
    f.project.ProjectModified = -1;
    EXPECT_FALSE(f.window->close()); // Yes, but the save is cancelled
    saveWorks = true;
    EXPECT_TRUE(f.window->close());
    EXPECT_EQ(f.dialogs.shown.size(), 2u);
    EXPECT_TRUE(f.window->close()); // nothing modified: no question
    EXPECT_EQ(f.dialogs.shown.size(), 2u);
}

// A modified MAC list asks its own save question when the program closes: Cancel keeps the program
// open, No lets it close.
TEST(MainWindow, ClosingWithAModifiedMacListAsksTheListsSaveQuestion) {
    QTemporaryDir folder;
    const std::string list = folder.filePath("mac.csv").toStdString();
    ASSERT_TRUE(WriteWholeFile(list, writeMacList({{"00-11-22-33-44-55", 1, "", "09", ""}})));
    WindowFixture f;
    f.start();
    f.window->menuItem("mnu_mac")->trigger();
    auto* mac = f.window->findChild<frm_LettMAC*>();
    ASSERT_TRUE(mac);
    auto click = [mac](const QString& text) {
        for (QPushButton* b : mac->findChildren<QPushButton*>())
            if (b->text() == text) b->click();
    };
    f.dialogs.files = {list};
    click("Load File");
    mac->list()->setCurrentRow(0);
    click("Modifica MAC -->"); // the entry is assigned: the list is modified
    f.dialogs.shown.clear();
    f.dialogs.choices = {MsgChoice::Cancel};
    EXPECT_FALSE(f.window->close());
    EXPECT_EQ(f.dialogs.shown, std::vector<std::string>{"L'elenco \xE8 stato modificato. Salvare il file?"});
    f.dialogs.choices = {MsgChoice::No};
    EXPECT_TRUE(f.window->close());
}

TEST(MainWindow, WebPageOpensOnlyAWellFormedAddress) {
    WindowFixture f;
    std::vector<std::string> opened;
    f.procs.OpenUrl = [&](const std::string& url) { opened.push_back(url); };
    f.start();
    f.window->button("view_http")->trigger();
    for (const char* bad : {"", "192.168.1", "192.168.1.256", "1.2.3.4.5", "1.2.3.4 ", "a.b.c.d", "1..2.3",
                            "1.2.3.4/x", "-1.2.3.4", "1.2.3.0004", "file:///etc/passwd"}) {
        f.comm.CurrentDevice.IpAddress = bad;
        f.window->button("view_http")->trigger();
        EXPECT_EQ(f.dialogs.shown.back(), std::string("Invalid IP address: ") + bad);
    }
    EXPECT_EQ(opened, std::vector<std::string>{"http://192.168.1.100"});
}

TEST(MainWindow, StartUpThroughMainTakesTheSavedLanguageAndShowsTheInternalMenusOnlyInTheirEdition) {
    QTemporaryDir folder;
    WindowFixture f;
    f.shell.Language = 0;
    ASSERT_TRUE(SaveSettings(f.shell, f.comm.CurrentDevice, folder.path().toStdString()));
    f.window = std::make_unique<MainWindow>(f.ctx, f.procs);
    Main(f.ctx, f.window.get(), {ThisBuild, folder.path().toStdString()});
    EXPECT_EQ(f.window->menuItem("mnu_project")->text(), "Progetto");
    EXPECT_EQ(f.window->menuItem("mnu_collaudo")->isVisible(), BuildInternal != 0);
    EXPECT_EQ(f.comm.CurrentDevice.Connected, 0);
}

// The project data's menu items open their window once; a closed one leaves and the next use makes a new one.
TEST(ProjectMenus, VariablesAndTablesOpenOnceAndFollowTheLanguage) {
    WindowFixture f;
    f.recordAndLoadTexts(true);
    f.project.Tables.Count = 1;
    f.project.Tables.Tables[0].Name = "T1";
    f.start();
    for (const char* item : {"mnu_Format", "mnu_Format", "mnu_Tables", "mnu_Tables"})
        f.window->menuItem(item)->trigger();
    ASSERT_EQ(f.window->findChildren<frm_variabili*>().size(), 1);
    ASSERT_EQ(f.window->findChildren<Input_Tab*>().size(), 1);
    auto* variables = f.window->findChild<frm_variabili*>();
    auto* tables = f.window->findChild<Input_Tab*>();
    EXPECT_EQ(variables->windowTitle(), "Variables");
    EXPECT_EQ(tables->list()->count(), 1);
    f.window->languages().CambiaLingua(0);
    EXPECT_EQ(variables->windowTitle().toStdString(), f.shell.UiText[156]);
    variables->close();
    tables->cmd_ok_Click(0); // cancel
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(f.window->findChildren<frm_variabili*>().isEmpty());
    EXPECT_TRUE(f.window->findChildren<Input_Tab*>().isEmpty());
    EXPECT_NE(f.window->showVariables(), nullptr);
    EXPECT_NE(f.window->showTables(), nullptr);
}

// The model list, a cancelled dialog, then OK over serial with the start-up model, whose link does not open.
TEST(SettingsDialog, ModelListCancelAndOkOverSerial) {
    WindowFixture f;
    f.procs = f.recordingProcedures(false, -1);
    f.comm.CurrentDevice.ModelIndex = 9;
    f.comm.AnswerTimeout = 5;
    f.start();
    SettingsDialog* d = f.window->openSettings(SettingsDialog::ConnectionPage);
    QComboBox* models = d->modelList();
    EXPECT_EQ(models->currentText(), "JXV8480");
    auto* model = qobject_cast<QStandardItemModel*>(models->model());
    ASSERT_TRUE(model);
    for (int i : {5, 8}) { // the separators
        EXPECT_FALSE(model->item(i)->flags() & Qt::ItemIsSelectable) << i;
        EXPECT_FALSE(models->itemData(i).isValid());
    }
    EXPECT_EQ(models->itemData(6).toInt(), 13);
    child<QLineEdit>(d, "txt_address")->setText("99");
    d->cancel();
    EXPECT_EQ(f.comm.CurrentDevice.NodeAddress, 10);
    EXPECT_TRUE(f.calls.empty());

    // The start-up model is not offered: it shows as the one in use, and the list stays as it is.
    f.comm.CurrentDevice.ModelIndex = 48;
    f.comm.CurrentDevice.ModemDialUp = -1;
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    d = f.window->openSettings(SettingsDialog::ConnectionPage);
    EXPECT_EQ((std::tuple{d->modelList()->count(), d->modelList()->currentIndex()}),
              (std::tuple{BuildInternal ? 22 : 21, -1})); // the internal edition lists one more model
    EXPECT_EQ(d->modelList()->placeholderText(), "JXV9787");
    EXPECT_TRUE(child<QCheckBox>(d, "chk_Modem")->isChecked());
    // The channel shows one frame; Ethernet's fields reach the device in the end-to-end runs.
    child<QRadioButton>(d, "optChannel1")->click();
    EXPECT_FALSE(child<QGroupBox>(d, "frmTCP")->isVisibleTo(d));
    EXPECT_TRUE(child<QGroupBox>(d, "frmCOM")->isVisibleTo(d));
    child<QRadioButton>(d, "optChannel0")->click();
    EXPECT_TRUE(child<QLineEdit>(d, "txt_IP")->isVisibleTo(d));
    child<QRadioButton>(d, "optChannel1")->click();
    child<QComboBox>(d, "cmbCOM")->setCurrentIndex(2);
    child<QComboBox>(d, "cmbBaud")->setCurrentText("115200");
    child<QRadioButton>(d, "optStop1")->click();
    child<QCheckBox>(d, "chk_autoricezione")->setChecked(true);
    child<QLineEdit>(d, "txt_address")->setText("x1"); // no number: refused, the dialog stays with it
    d->showPage(SettingsDialog::WorkspacePage);
    child<QSlider>(d, "Slider1")->setValue(3);
    child<QCheckBox>(d, "chk_Update")->setChecked(true);
    d->confirm();
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(f.dialogs.shown.back(), "Node ID: \"x1\" is not a whole number from 0 to 255");
    EXPECT_EQ(child<QLineEdit>(d, "txt_address")->text(), "x1");
    EXPECT_TRUE(f.calls.empty());
    child<QLineEdit>(d, "txt_address")->setText("10");
    d->confirm();
    const auto& dev = f.comm.CurrentDevice;
    EXPECT_EQ(
        (std::tuple{dev.Channel, dev.Port, dev.BaudRate, dev.TwoStopBits, dev.EchoRemove, dev.ModemDialUp}),
        (std::tuple{uint8_t{1}, int16_t{3}, std::string("115200"), int16_t{-1}, int16_t{-1}, int16_t{-1}}));
    EXPECT_EQ(f.shell.AnimateTime, 3000);
    EXPECT_EQ(f.shell.RegUpdate, -1);
    // Serial settings leave the Ethernet ones.
    EXPECT_EQ((std::tuple{dev.NodeAddress, dev.IpAddress, dev.LinkTimeout, f.comm.AnswerTimeout}),
              (std::tuple{uint8_t{10}, std::string("192.168.1.100"), int16_t{1000}, int16_t{5}}));
    // The link did not open: no identification, no mode read.
    EXPECT_EQ(f.calls,
              (std::vector<std::string>{"SaveSettings", "Disconnetti", "Connetti", "MappaRegistri(false)"}));
}

// OK keeps what the user did not touch: an animate time the slider cannot show, a baud rate the list
// does not offer.
TEST(SettingsDialog, OkKeepsWhatTheUserDidNotTouch) {
    WindowFixture f;
    f.procs = f.recordingProcedures(false, -1);
    f.comm.CurrentDevice.Channel = 1;
    f.comm.CurrentDevice.BaudRate = "4800";
    f.shell.AnimateTime = 500;
    f.start();
    f.window->openSettings(SettingsDialog::WorkspacePage)->confirm();
    EXPECT_EQ((std::tuple{f.shell.AnimateTime, f.comm.CurrentDevice.BaudRate}),
              (std::tuple{int16_t{500}, std::string("4800")}));
}

TEST(AboutBox, ShowsNameAndVersionAndFallsBackToTheMessage) {
    WindowFixture f;
    f.start();
    AboutBox* about = f.window->showAbout();
    EXPECT_EQ(about->windowTitle(), "About Melqo");
    EXPECT_EQ(child<QLabel>(about, "lblVersion")->text(), "Version: 1.8k");
    std::vector<QString> started;
    about->setProgramStarter([&](const QString& p) {
        started.push_back(p);
        return true;
    });
    for (const char* found : {"", "/usr/bin/hardinfo"}) {
        about->setSysInfoFinder([found] { return QString(found); });
        about->StartSysInfo();
    }
    EXPECT_EQ(started, std::vector<QString>{"/usr/bin/hardinfo"});
    // The message in the current language, under the program's name.
    f.shell.Language = 0;
    about->setSysInfoFinder([] { return QString(); });
    about->StartSysInfo();
    EXPECT_EQ(f.dialogs.shown,
              (std::vector<std::string>{"System information is not available at the moment.",
                                        "Le informazioni sul sistema non sono attualmente disponibili."}));
    EXPECT_EQ(f.dialogs.boxes.back().title, "Melqo");
}

TEST(ProjectNavigator, EachNodeOpensItsPageAndNoSelectionDoesNothing) {
    std::vector<std::string> opened;
    ProjectNavigator nav([&] { opened.push_back("settings"); }, [&] { opened.push_back("program"); });
    nav.Lista_DblClick();
    for (int node : {0, 1}) {
        nav.setCurrentItem(nav.topLevelItem(node));
        nav.Lista_DblClick();
    }
    EXPECT_EQ(opened, (std::vector<std::string>{"settings", "program"}));
    EXPECT_EQ(nav.topLevelItem(1)->text(0), "Programma");
}

TEST(QtUserDialogs, FilterTextsBecomeQtFiltersAndTwipsFollowTheLogicalResolution) {
    EXPECT_EQ(qtFileFilter("(*.prj)|*.prj|(*.*)|*.*|"), "(*.prj);;(*.*)");
    EXPECT_EQ(qtFileFilter("Project|*.prj"), "Project (*.prj)");
    EXPECT_EQ(qtFileFilter("Images|*.bmp;*.png|"), "Images (*.bmp *.png)");
    EXPECT_EQ(qtFileFilter(""), "");
    EXPECT_EQ(saveSuffix(" (*.hex)|*.hex|(*.*)|*.*|"), "hex");
    EXPECT_EQ(saveSuffix("(*.*)|*.*|"), "");
    EXPECT_EQ(saveSuffix(""), "");
    for (auto [twips, dpi, pixels] :
         {std::tuple{16000, 96, 1067}, {13000, 96, 867}, {16000, 144, 1600}, {3000, 192, 400}})
        EXPECT_EQ(twipsToPixels(twips, dpi), pixels) << twips << " at " << dpi;
}

} // namespace
