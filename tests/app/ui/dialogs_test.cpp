#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStandardItemModel>

#include "app/language.h"
#include "app/ui/about_box.h"
#include "app/ui/project_navigator.h"
#include "platform/qt_user_dialogs.h"
#include "window_fixture.h"

namespace {

template <class T> T* child(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(name);
    EXPECT_TRUE(c) << name;
    return c;
}

TEST(SettingsDialog, ListsModelsWithSeparatorsThatCannotBeChosen) {
    WindowFixture f;
    f.comm.CurrentDevice.ModelIndex = 9;
    f.start();
    SettingsDialog* d = f.window->openSettings(SettingsDialog::ConnectionPage);
    QComboBox* models = d->modelList();
    ASSERT_EQ(models->count(), 21);
    EXPECT_EQ(models->currentData().toInt(), 9);
    EXPECT_EQ(models->currentText(), "JXV8480");
    auto* model = qobject_cast<QStandardItemModel*>(models->model());
    ASSERT_TRUE(model);
    for (int i : {5, 8}) {
        EXPECT_FALSE(model->item(i)->flags() & Qt::ItemIsSelectable) << i;
        EXPECT_FALSE(models->itemData(i).isValid());
    }
    EXPECT_EQ(models->itemData(6).toInt(), 13);
    d->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // The start-up model is not offered: it shows as the one in use, and the list stays as it is.
    f.comm.CurrentDevice.ModelIndex = 48;
    d = f.window->openSettings(SettingsDialog::ConnectionPage);
    EXPECT_EQ(d->modelList()->count(), 21);
    EXPECT_EQ(d->modelList()->currentIndex(), -1);
    EXPECT_EQ(d->modelList()->placeholderText().toStdString(), f.ctx.model().ModelName);
}

TEST(SettingsDialog, ChannelShowsOneFrameAndOkOverEthernetAppliesAndReconnects) {
    WindowFixture f;
    f.procs = f.recordingProcedures(true, -1);
    f.start();
    SettingsDialog* d = f.window->openSettings(SettingsDialog::ConnectionPage);
    QRadioButton* com = child<QRadioButton>(d, "optChannel1");
    com->click();
    EXPECT_FALSE(child<QGroupBox>(d, "frmTCP")->isVisibleTo(d));
    EXPECT_TRUE(child<QGroupBox>(d, "frmCOM")->isVisibleTo(d));
    child<QRadioButton>(d, "optChannel0")->click();
    EXPECT_TRUE(child<QLineEdit>(d, "txt_IP")->isVisibleTo(d));

    child<QLineEdit>(d, "txt_IP")->setText("127.0.0.1");
    child<QLineEdit>(d, "txt_port")->setText("1502");
    child<QLineEdit>(d, "txt_timeoutTCP")->setText("1500");
    child<QLineEdit>(d, "txt_address")->setText("3");
    d->modelList()->setCurrentIndex(0); // row 5, a controller
    d->confirm();
    EXPECT_EQ(f.comm.CurrentDevice.IpAddress, "127.0.0.1");
    EXPECT_EQ(f.comm.CurrentDevice.Port, 1502);
    EXPECT_EQ(f.comm.CurrentDevice.LinkTimeout, 1500);
    EXPECT_EQ(f.comm.AnswerTimeout, 2);
    EXPECT_EQ(f.comm.CurrentDevice.NodeAddress, 3);
    EXPECT_EQ(f.comm.CurrentDevice.ModelIndex, 5);
    EXPECT_EQ(f.calls, (std::vector<std::string>{"SaveSettings", "Disconnetti", "Connetti", "VerificaModello",
                                                 "LeggiStatoPLC", "MappaRegistri(false)"}));
}

TEST(SettingsDialog, OkOverSerialStoresThePortChoicesAndCancelChangesNothing) {
    WindowFixture f;
    f.procs = f.recordingProcedures(false);
    f.comm.CurrentDevice.ModemDialUp = -1;
    f.start();
    SettingsDialog* d = f.window->openSettings(SettingsDialog::ConnectionPage);
    child<QLineEdit>(d, "txt_address")->setText("99");
    d->cancel();
    EXPECT_EQ(f.comm.CurrentDevice.NodeAddress, 10);
    EXPECT_TRUE(f.calls.empty());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    d = f.window->openSettings(SettingsDialog::ConnectionPage);
    EXPECT_TRUE(child<QCheckBox>(d, "chk_Modem")->isChecked());
    child<QRadioButton>(d, "optChannel1")->click();
    child<QComboBox>(d, "cmbCOM")->setCurrentIndex(2);
    child<QComboBox>(d, "cmbBaud")->setCurrentText("115200");
    child<QRadioButton>(d, "optStop1")->click();
    child<QCheckBox>(d, "chk_autoricezione")->setChecked(true);
    d->showPage(SettingsDialog::WorkspacePage);
    child<QSlider>(d, "Slider1")->setValue(3);
    child<QCheckBox>(d, "chk_Update")->setChecked(true);
    d->confirm();
    const auto& dev = f.comm.CurrentDevice;
    EXPECT_EQ(dev.Channel, 1);
    EXPECT_EQ(dev.Port, 3);
    EXPECT_EQ(dev.BaudRate, "115200");
    EXPECT_EQ(dev.TwoStopBits, -1);
    EXPECT_EQ(dev.EchoRemove, -1);
    EXPECT_EQ(dev.ModemDialUp, -1);
    EXPECT_EQ(f.shell.AnimateTime, 3000);
    EXPECT_EQ(f.shell.RegUpdate, -1);
    // The link did not open: no identification, no mode read.
    EXPECT_EQ(f.calls,
              (std::vector<std::string>{"SaveSettings", "Disconnetti", "Connetti", "MappaRegistri(false)"}));
}

TEST(SettingsDialog, LanguageOptionSwitchesAtOnce) {
    WindowFixture f;
    std::vector<int> loads;
    f.procs.CaricaRisorse = [&](uint8_t lang) {
        loads.push_back(lang);
        CaricaRisorse(f.shell, lang);
    };
    f.start();
    SettingsDialog* d = f.window->openSettings(SettingsDialog::WorkspacePage);
    child<QRadioButton>(d, "opt_lang0")->click();
    EXPECT_EQ(loads, std::vector<int>{0});
    EXPECT_EQ(child<QGroupBox>(d, "Frame4")->title(), "Lingua");
    EXPECT_EQ(child<QPushButton>(d, "cmd_ok0")->text(), "Annulla");
    // Cancel takes the language back.
    child<QPushButton>(d, "cmd_ok0")->click();
    EXPECT_EQ(loads, (std::vector<int>{0, 1}));
    EXPECT_EQ(f.shell.Language, 1);
}

TEST(AboutBox, ShowsNameAndVersionAndFallsBackToTheMessage) {
    WindowFixture f;
    f.start();
    AboutBox* about = f.window->showAbout();
    EXPECT_EQ(about->windowTitle(), "About Melqo");
    EXPECT_EQ(child<QLabel>(about, "lblTitle")->text(), "Melqo");
    EXPECT_EQ(child<QLabel>(about, "lblVersion")->text(), "Version: 1.8k");

    std::vector<QString> started;
    about->setProgramStarter([&](const QString& p) {
        started.push_back(p);
        return true;
    });
    about->setSysInfoFinder([] { return QString(); });
    about->StartSysInfo();
    EXPECT_TRUE(started.empty());
    EXPECT_EQ(f.dialogs.shown,
              std::vector<std::string>{"Le informazioni sul sistema non sono attualmente disponibili."});

    about->setSysInfoFinder([] { return QString("/usr/bin/hardinfo"); });
    about->StartSysInfo();
    EXPECT_EQ(started, std::vector<QString>{"/usr/bin/hardinfo"});
    EXPECT_EQ(f.dialogs.shown.size(), 1u);
}

TEST(ProjectNavigator, EachNodeOpensItsPageAndNoSelectionDoesNothing) {
    std::vector<std::string> opened;
    ProjectNavigator nav([&] { opened.push_back("settings"); }, [&] { opened.push_back("program"); });
    nav.Lista_DblClick();
    EXPECT_TRUE(opened.empty());
    for (int node : {0, 1}) {
        nav.setCurrentItem(nav.topLevelItem(node));
        nav.Lista_DblClick();
    }
    EXPECT_EQ(opened, (std::vector<std::string>{"settings", "program"}));
    EXPECT_EQ(nav.topLevelItem(1)->text(0), "Programma");
}

TEST(QtUserDialogs, FilterTextsBecomeQtFilters) {
    EXPECT_EQ(qtFileFilter("(*.prj)|*.prj|(*.*)|*.*|"), "(*.prj);;(*.*)");
    EXPECT_EQ(qtFileFilter("Project|*.prj"), "Project (*.prj)");
    EXPECT_EQ(qtFileFilter("Images|*.bmp;*.png|"), "Images (*.bmp *.png)");
    EXPECT_EQ(qtFileFilter(""), "");
}

} // namespace

#include "app/ui/ui_texts.h"

namespace {

TEST(Twips, PixelsFollowTheLogicalResolution) {
    EXPECT_EQ(twipsToPixels(16000, 96), 1067);
    EXPECT_EQ(twipsToPixels(13000, 96), 867);
    EXPECT_EQ(twipsToPixels(16000, 144), 1600);
    EXPECT_EQ(twipsToPixels(3000, 192), 400);
    EXPECT_EQ(twipsToPixels(0, 96), 0);
}

} // namespace
