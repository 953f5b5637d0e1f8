// A window open during a language switch shows the same texts as one opened after it.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QTableWidget>
#include <QTabWidget>

#include <functional>
#include <vector>

#include "app/ui/about_box.h"
#include "discovery/ui/frm_search.h"
#include "fbeditor/ui/input_box.h"
#include "tools/ui/frm_watch.h"
#include "window_fixture.h"

namespace {

// What the user reads in a window: its caption, captions, tooltips, list items and column headers.
QStringList textsOf(QWidget* window) {
    QStringList texts{window->windowTitle(), window->toolTip()};
    for (QWidget* w : window->findChildren<QWidget*>()) {
        texts << w->toolTip();
        if (auto* l = qobject_cast<QLabel*>(w)) texts << l->text();
        if (auto* b = qobject_cast<QAbstractButton*>(w)) texts << b->text();
        if (auto* g = qobject_cast<QGroupBox*>(w)) texts << g->title();
        if (auto* t = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < t->count(); ++i)
                texts << t->tabText(i);
        if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i)
                texts << c->itemText(i);
        if (auto* v = qobject_cast<QAbstractItemView*>(w); v && v->model())
            for (int c = 0; c < v->model()->columnCount(); ++c)
                texts << v->model()->headerData(c, Qt::Horizontal).toString();
    }
    for (QAction* a : window->findChildren<QAction*>())
        texts << a->text() << a->toolTip();
    return texts;
}

struct OpenWindow {
    const char* name;
    std::function<QWidget*(MainWindow&)> open;
};

const std::vector<OpenWindow> Windows = {
    {"search", [](MainWindow& w) -> QWidget* { return w.showSearch(); }},
    {"watch", [](MainWindow& w) { return w.showTool("mnu_Watch", true)->widget(); }},
    {"modbus", [](MainWindow& w) { return w.showTool("mnu_dialoga", true)->widget(); }},
    {"eeprom", [](MainWindow& w) { return w.showTool("mnu_eeprom", true)->widget(); }},
    {"multisock", [](MainWindow& w) { return w.showTool("mnu_MultiSock", true)->widget(); }},
    {"registers",
     [](MainWindow& w) {
         w.showRegisters(true);
         return w.registersSubWindow()->widget();
     }},
    {"settings", [](MainWindow& w) -> QWidget* { return w.openSettings(SettingsDialog::ConnectionPage); }},
    {"about", [](MainWindow& w) -> QWidget* { return w.showAbout(); }},
    {"variables", [](MainWindow& w) { return w.showVariables(); }},
    {"tables", [](MainWindow& w) { return w.showTables(); }},
    {"display", [](MainWindow& w) { return w.showDisplay(); }},
    {"scheduler", [](MainWindow& w) { return w.loadScheduler(); }},
    {"images", [](MainWindow& w) { return w.showImages(); }},
    {"config", [](MainWindow& w) { return w.showConfig(false); }},
    {"log",
     [](MainWindow& w) {
         w.showLog();
         return w.logSubWindow()->widget();
     }},
    {"value input",
     [](MainWindow& w) -> QWidget* {
         auto* watch = static_cast<frm_watch*>(w.showTool("mnu_Watch", true)->widget());
         watch->view().add(100);
         watch->table()->setCurrentCell(0, 0);
         watch->writeValue();
         return watch->findChild<Input_Box*>();
     }},
    {"main window", [](MainWindow& w) -> QWidget* { return &w; }},
};

} // namespace

TEST(LanguageSwitch, OpenWindowsFollowItAsIfOpenedAfterIt) {
    WindowFixture switched, fresh;
    switched.recordAndLoadTexts(false);
    fresh.recordAndLoadTexts(false);
    CaricaRisorse(fresh.shell, 0);
    switched.start();
    fresh.start();
    std::vector<QWidget*> open, opened;
    for (const auto& w : Windows)
        open.push_back(w.open(*switched.window));
    switched.window->languages().CambiaLingua(0);
    for (const auto& w : Windows)
        opened.push_back(w.open(*fresh.window));
    for (size_t i = 0; i < Windows.size(); ++i) {
        const QStringList now = textsOf(open[i]), expected = textsOf(opened[i]);
        ASSERT_EQ(now.size(), expected.size()) << Windows[i].name;
        for (qsizetype k = 0; k < now.size(); ++k)
            EXPECT_EQ(now[k].toStdString(), expected[k].toStdString()) << Windows[i].name;
    }
}
