#pragma once
// A fresh project and shell with the texts of the chosen language, a real event pump and the editor window,
// with helpers that answer the pickers it opens.
#include <gtest/gtest.h>

#include <memory>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include "core/language.h"
#include "fbeditor/ui/comandi.h"
#include "fbeditor/ui/input_box.h"
#include "fbeditor/ui/input_tab.h"
#include "platform/qt_event_pump.h"
#include "support/fake_dialogs.h"

constexpr int English = 1, Italian = 0;

class WindowTest : public ::testing::Test {
  protected:
    ShellState shell;
    CommState comm;
    Project project;
    QtEventPump pump;
    FakeDialogs dialogs;
    AppContext ctx{shell, comm, project, pump, dialogs};
    std::unique_ptr<comandi> window;

    WindowTest() {
        CaricaRisorse(shell, English);
        project.Program.Sections[0].RungCount = 3;
        project.Program.CurrentRung = 1;
        window = std::make_unique<comandi>(ctx);
    }
    ~WindowTest() override {
        window.reset();
        QApplication::processEvents();
    }

    CommandRecord& rung(int r, int section = 0) {
        return project.Program.Sections[static_cast<size_t>(section)].Rungs[static_cast<size_t>(r)];
    }
    // The entry of a combo box with this text, -1 when none.
    static int entry(QComboBox* box, const char* text) { return box->findText(text); }
    void type(int row, const char* text) { window->txt_Opt_Click(row, entry(window->typeBox(row), text)); }
    // Types into a box as the user does.
    static void typeInto(QLineEdit* edit, const QString& text) {
        edit->setText(text);
        emit edit->textEdited(text);
    }
    void typeValue(int row, const QString& text) { typeInto(window->valueBox(row)->lineEdit(), text); }
    static void pressEnter(QWidget* w) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(w, &press);
    }
    // Runs `act` once the event loop turns, i.e. while a picker waits.
    static void later(std::function<void()> act) { QTimer::singleShot(0, std::move(act)); }
    // The first shown row that offers K_Long, switched to it.
    int kLongRow() {
        window->ApriRung(0, 1);
        window->opt_Funzione_Click(21); // AND(word)
        for (int i = 0; i < ArgumentRowCount; ++i)
            if (!window->typeBox(i)->isHidden() && entry(window->typeBox(i), "K_Long") >= 0) {
                type(i, "K_Long");
                return i;
            }
        ADD_FAILURE() << "no K_Long row";
        return 0;
    }
    void addTable(const std::string& name) {
        LookupTable& t = project.Tables.Tables[project.Tables.Count++];
        t.Name = name;
        t.PointCount = 2;
        t.Inputs[1] = 10;
        t.Outputs[1] = 100;
    }
    template <class W> W* openPicker() { return qobject_cast<W*>(window->picker()); }
    // Clicks the row's Set button and, once the picker waits, does `act` in it.
    template <class W> void pick(int row, std::function<void(W&)> act) {
        later([this, act] {
            W* picker = openPicker<W>();
            ASSERT_NE(picker, nullptr);
            act(*picker);
        });
        window->cmd_Set_Click(row);
        EXPECT_EQ(window->picker(), nullptr);
    }
};
