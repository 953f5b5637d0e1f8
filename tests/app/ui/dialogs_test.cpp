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

#include "app/ui/about_box.h"
#include "app/ui/project_navigator.h"
#include "app/ui/ui_texts.h"
#include "core/language.h"
#include "platform/qt_user_dialogs.h"
#include "window_fixture.h"

namespace {

template <class T> T* child(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(name);
    EXPECT_TRUE(c) << name;
    return c;
}

// The settings dialog of a started main window whose procedures record their calls.
struct Settings : WindowFixture {
    explicit Settings(bool connectWorks) {
        procs = recordingProcedures(connectWorks, -1);
        start();
        d = window->openSettings(SettingsDialog::ConnectionPage);
    }
    void reopen() {
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        d = window->openSettings(SettingsDialog::ConnectionPage);
    }
    SettingsDialog* d;
};

TEST(SettingsDialog, ListsModelsWithSeparatorsThatCannotBeChosen) {
    WindowFixture f;
    f.comm.CurrentDevice.ModelIndex = 9;
    f.start();
    QComboBox* models = f.window->openSettings(SettingsDialog::ConnectionPage)->modelList();
    EXPECT_EQ(models->currentText(), "JXV8480");
    auto* model = qobject_cast<QStandardItemModel*>(models->model());
    ASSERT_TRUE(model);
    for (int i : {5, 8}) {
        EXPECT_FALSE(model->item(i)->flags() & Qt::ItemIsSelectable) << i;
        EXPECT_FALSE(models->itemData(i).isValid());
    }
    EXPECT_EQ(models->itemData(6).toInt(), 13);
    f.window->openSettings(SettingsDialog::ConnectionPage)->close();
    // The start-up model is not offered: it shows as the one in use, and the list stays as it is.
    f.comm.CurrentDevice.ModelIndex = 48;
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    models = f.window->openSettings(SettingsDialog::ConnectionPage)->modelList();
    EXPECT_EQ(models->count(), 21);
    EXPECT_EQ(models->currentIndex(), -1);
    EXPECT_EQ(models->placeholderText(), "JXV9787");
}

TEST(SettingsDialog, ChannelShowsOneFrameAndOkOverEthernetAppliesAndReconnects) {
    Settings f(true);
    child<QRadioButton>(f.d, "optChannel1")->click();
    EXPECT_FALSE(child<QGroupBox>(f.d, "frmTCP")->isVisibleTo(f.d));
    EXPECT_TRUE(child<QGroupBox>(f.d, "frmCOM")->isVisibleTo(f.d));
    child<QRadioButton>(f.d, "optChannel0")->click();
    EXPECT_TRUE(child<QLineEdit>(f.d, "txt_IP")->isVisibleTo(f.d));

    child<QLineEdit>(f.d, "txt_IP")->setText("127.0.0.1");
    child<QLineEdit>(f.d, "txt_port")->setText("1502");
    child<QLineEdit>(f.d, "txt_timeoutTCP")->setText("1500");
    child<QLineEdit>(f.d, "txt_address")->setText("3");
    f.d->modelList()->setCurrentIndex(0); // row 5, a controller
    f.d->confirm();
    const auto& dev = f.comm.CurrentDevice;
    EXPECT_EQ((std::tuple{dev.IpAddress, dev.Port, dev.LinkTimeout, f.comm.AnswerTimeout, dev.NodeAddress,
                          dev.ModelIndex}),
              (std::tuple{std::string("127.0.0.1"), int16_t{1502}, int16_t{1500}, int16_t{2}, uint8_t{3},
                          uint8_t{5}}));
    EXPECT_EQ(f.calls, (std::vector<std::string>{"SaveSettings", "Disconnetti", "Connetti", "VerificaModello",
                                                 "LeggiStatoPLC", "MappaRegistri(false)"}));
}

TEST(SettingsDialog, OkOverSerialStoresThePortChoicesAndCancelChangesNothing) {
    Settings f(false);
    child<QLineEdit>(f.d, "txt_address")->setText("99");
    f.d->cancel();
    EXPECT_EQ(f.comm.CurrentDevice.NodeAddress, 10);
    EXPECT_TRUE(f.calls.empty());

    f.comm.CurrentDevice.ModemDialUp = -1;
    f.reopen();
    EXPECT_TRUE(child<QCheckBox>(f.d, "chk_Modem")->isChecked());
    child<QRadioButton>(f.d, "optChannel1")->click();
    child<QComboBox>(f.d, "cmbCOM")->setCurrentIndex(2);
    child<QComboBox>(f.d, "cmbBaud")->setCurrentText("115200");
    child<QRadioButton>(f.d, "optStop1")->click();
    child<QCheckBox>(f.d, "chk_autoricezione")->setChecked(true);
    f.d->showPage(SettingsDialog::WorkspacePage);
    child<QSlider>(f.d, "Slider1")->setValue(3);
    child<QCheckBox>(f.d, "chk_Update")->setChecked(true);
    f.d->confirm();
    const auto& dev = f.comm.CurrentDevice;
    EXPECT_EQ(
        (std::tuple{dev.Channel, dev.Port, dev.BaudRate, dev.TwoStopBits, dev.EchoRemove, dev.ModemDialUp}),
        (std::tuple{uint8_t{1}, int16_t{3}, std::string("115200"), int16_t{-1}, int16_t{-1}, int16_t{-1}}));
    EXPECT_EQ(f.shell.AnimateTime, 3000);
    EXPECT_EQ(f.shell.RegUpdate, -1);
    // The link did not open: no identification, no mode read.
    EXPECT_EQ(f.calls,
              (std::vector<std::string>{"SaveSettings", "Disconnetti", "Connetti", "MappaRegistri(false)"}));
}

TEST(SettingsDialog, LanguageOptionSwitchesAtOnceAndCancelTakesItBack) {
    WindowFixture f;
    std::vector<int> loads;
    f.procs.CaricaRisorse = [&](uint8_t lang) {
        loads.push_back(lang);
        CaricaRisorse(f.shell, lang);
    };
    f.start();
    SettingsDialog* d = f.window->openSettings(SettingsDialog::WorkspacePage);
    child<QRadioButton>(d, "opt_lang0")->click();
    EXPECT_EQ(child<QGroupBox>(d, "Frame4")->title(), "Lingua");
    EXPECT_EQ(child<QPushButton>(d, "cmd_ok0")->text(), "Annulla");
    child<QPushButton>(d, "cmd_ok0")->click();
    EXPECT_EQ(loads, (std::vector<int>{0, 1}));
    EXPECT_EQ(f.shell.Language, 1);
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
    EXPECT_EQ(f.dialogs.shown,
              std::vector<std::string>{"Le informazioni sul sistema non sono attualmente disponibili."});
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
    for (auto [twips, dpi, pixels] :
         {std::tuple{16000, 96, 1067}, {13000, 96, 867}, {16000, 144, 1600}, {3000, 192, 400}})
        EXPECT_EQ(twipsToPixels(twips, dpi), pixels) << twips << " at " << dpi;
}

} // namespace
