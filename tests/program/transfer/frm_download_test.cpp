// The download window: its options, and that it neither reruns nor closes while the sequence runs.
#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

#include "program/ui/frm_download.h"
#include "transfer_fixture.h"

namespace {

class DownloadWindowTest : public TransferFixture {
  protected:
    template <class T> T* child(frm_Download* w, const char* name) { return w->findChild<T*>(name); }
};

} // namespace

TEST_F(DownloadWindowTest, LoadsItsOptionsFromTheModel) {
    // The download window on the USB row, which holds strings; the export window on a plain row.
    for (bool download : {true, false}) {
        SCOPED_TRACE(download ? "download" : "export");
        comm.CurrentDevice.ModelIndex = download ? UsbRow : PlainRow;
        frm_Download w(app, download);
        EXPECT_EQ(w.windowTitle(), "Download");
        EXPECT_TRUE(child<QCheckBox>(&w, "chk_download")->isChecked());
        EXPECT_TRUE(child<QCheckBox>(&w, "chk_var")->isChecked());
        EXPECT_EQ(child<QCheckBox>(&w, "chk_str")->isChecked(), download);
        EXPECT_EQ(child<QCheckBox>(&w, "chk_str")->isEnabled(), download);
        EXPECT_FALSE(child<QCheckBox>(&w, "chk_sms")->isEnabled());
        EXPECT_FALSE(child<QCheckBox>(&w, "chk_Verify")->isChecked());
        EXPECT_EQ(child<QProgressBar>(&w, "Barra")->minimum(), 1);
        EXPECT_EQ(child<QProgressBar>(&w, "Barra")->maximum(), 101);
        EXPECT_EQ(child<QPushButton>(&w, "cmdDownload")->isHidden(), !download);
        EXPECT_EQ(child<QPushButton>(&w, "cmd_Export")->isHidden(), download);
    }
}

TEST_F(DownloadWindowTest, CannotRerunOrCloseWhileRunningAndHidesKeepingItsOptionsAtTheEnd) {
    QPointer<frm_Download> w = new frm_Download(app, true);
    w->show();
    child<QCheckBox>(w, "chk_var")->setChecked(false);
    child<QCheckBox>(w, "chk_Verify")->setChecked(true);
    pump.onEvents = [&] { // the window as it is whenever the sequence lets events run
        ASSERT_TRUE(w);
        EXPECT_TRUE(w->running());
        EXPECT_FALSE(child<QPushButton>(w, "cmdDownload")->isEnabled());
        EXPECT_FALSE(w->close());
        child<QPushButton>(w, "cmdDownload")->click(); // ignored
    };
    child<QPushButton>(w, "cmdDownload")->click(); // not connected: stops at the halt command
    EXPECT_EQ(pump.paused, 0.5);                   // the closing pause only: no second run
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(w.isNull());
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(child<QCheckBox>(w, "chk_var")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(w, "chk_Verify")->isChecked());
    EXPECT_TRUE(child<QPushButton>(w, "cmdDownload")->isEnabled());
    const Lines log = transferLog();
    EXPECT_NE(
        std::find(log.begin(), log.end(), "Closing the Download window refused: a download is under way"),
        log.end());
    delete w;
}

// Opened under a model without strings, then under a USB controller: "Strings" is offered and ticked,
// and the other boxes are as a new window has them.
TEST_F(DownloadWindowTest, EveryOpeningSetsTheBoxesForTheModelSelectedThen) {
    comm.CurrentDevice.ModelIndex = PlainRow;
    frm_Download w(app, true);
    w.show();
    child<QCheckBox>(&w, "chk_run")->setChecked(true);
    w.close();
    comm.CurrentDevice.ModelIndex = UsbRow;
    w.show();
    EXPECT_TRUE(child<QCheckBox>(&w, "chk_str")->isEnabled());
    EXPECT_TRUE(w.options().strings && !w.options().run);
}
