#include <gtest/gtest.h>

#include <QDir>
#include <QPixmap>

#include "app/ui/about_box.h"
#include "window_fixture.h"

namespace {

// Saves pictures of the windows for a look by eye, when MELQO_SCREENSHOT_DIR names a folder.
TEST(Screenshots, MainWindowSettingsAndAboutInBothLanguages) {
    QString dir = qEnvironmentVariable("MELQO_SCREENSHOT_DIR");
    if (dir.isEmpty()) GTEST_SKIP() << "MELQO_SCREENSHOT_DIR not set";
    WindowFixture f;
    f.recordAndLoadTexts(true, -1);
    f.comm.CurrentDevice.ModelIndex = 0;
    f.start();
    f.shell.log.LogStart();
    f.shell.log.LogWrite("Compiling");
    f.window->show();
    for (int lang : {1, 0}) {
        f.window->languages().CambiaLingua(static_cast<int16_t>(lang));
        QString suffix = lang ? "en" : "it";
        f.window->grab().save(QDir(dir).filePath("main_" + suffix + ".png"));
        SettingsDialog* s = f.window->openSettings(SettingsDialog::ConnectionPage);
        QApplication::processEvents();
        s->grab().save(QDir(dir).filePath("settings_" + suffix + ".png"));
        s->showPage(SettingsDialog::WorkspacePage);
        s->adjustSize();
        s->grab().save(QDir(dir).filePath("workspace_" + suffix + ".png"));
        s->close();
        AboutBox* a = f.window->showAbout();
        QApplication::processEvents();
        a->grab().save(QDir(dir).filePath("about_" + suffix + ".png"));
        a->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    f.window->button("connect")->trigger();
    f.window->grab().save(QDir(dir).filePath("main_connected.png"));
}

} // namespace

#include <QPainter>

#include "app/toolbar_layout.h"
#include "app/ui/picture_list.h"

namespace {

TEST(Screenshots, PictureSheetAtSixteenAndThirtyTwoPixels) {
    QString dir = qEnvironmentVariable("MELQO_SCREENSHOT_DIR");
    if (dir.isEmpty()) GTEST_SKIP() << "MELQO_SCREENSHOT_DIR not set";
    PictureList list;
    list.CaricaImmagini();
    QImage sheet(12 * 40, 8 * 40, QImage::Format_ARGB32);
    sheet.fill(QColor("#f0f0f0"));
    QPainter p(&sheet);
    int i = 0;
    for (auto key : PictureKeys) {
        QIcon icon = list.picture(QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size())));
        int x = (i % 12) * 40, y = (i / 12) * 80;
        p.drawPixmap(x + 12, y + 4, icon.pixmap(16, 16));
        p.drawPixmap(x + 4, y + 28, icon.pixmap(32, 32));
        ++i;
    }
    p.end();
    sheet.save(QDir(dir).filePath("pictures.png"));
}

} // namespace
