// The value and table pickers: the hand-over through DialogBusy, and the editor staying usable meanwhile.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

#include "fbeditor/ui/input_box.h"
#include "fbeditor/ui/input_tab.h"
#include "window_fixture.h"

namespace {

constexpr int AndWord = 21, Linearization = 30;

} // namespace

class PickerTest : public WindowTest {
  protected:
    // The first shown row that offers K_Long, switched to it.
    int kLongRow() {
        window->ApriRung(0, 1);
        window->opt_Funzione_Click(AndWord);
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

TEST_F(PickerTest, KLongRowIsEnteredThroughTheValuePicker) {
    int row = kLongRow();
    EXPECT_FALSE(window->setButton(row)->isHidden());
    EXPECT_TRUE(window->valueBox(row)->lineEdit()->isReadOnly());

    const QString rowText = window->valueBox(row)->currentText();
    pick<Input_Box>(row, [&](Input_Box& box) {
        EXPECT_EQ(box.Modo, 1);
        EXPECT_EQ(box.text()->text(), rowText); // the picker starts from the row's text
        box.text()->setText("4660");
        box.cmd_ok_Click();
    });
    EXPECT_EQ(window->valueBox(row)->currentText(), "4660");
    pick<Input_Box>(row, [](Input_Box& box) { // Cancel hands the starting text back
        box.text()->setText("99");
        box.cmd_cancel_Click();
    });
    EXPECT_EQ(window->valueBox(row)->currentText(), "4660");

    // Another type hides the button and frees the box again.
    type(row, "uInt");
    EXPECT_TRUE(window->setButton(row)->isHidden());
    EXPECT_FALSE(window->valueBox(row)->lineEdit()->isReadOnly());
}

TEST_F(PickerTest, ASecondSetWhileAPickerWaitsRaisesItInsteadOfWaitingTwice) {
    int row = kLongRow();
    pick<Input_Box>(row, [&](Input_Box& box) {
        window->cmd_Set_Click(row); // returns at once: the first picker stays the only one
        EXPECT_EQ(window->picker(), &box);
        box.text()->setText("7");
        box.cmd_ok_Click();
    });
    EXPECT_EQ(window->valueBox(row)->currentText(), "7");
}

TEST_F(PickerTest, ClosingTheEditorReleasesAWaitingPicker) {
    int row = kLongRow();
    later([&] { window->close(); });
    window->cmd_Set_Click(row); // returns: nothing hangs on a picker nobody can answer
    EXPECT_EQ(window->picker(), nullptr);
    EXPECT_FALSE(window->editor().Caricato);
}

TEST_F(PickerTest, TableRowPicksAddsAndKeepsTablesThroughTheTableEditor) {
    addTable("T1");
    addTable("T2");
    window->ApriRung(0, 1);
    window->opt_Funzione_Click(Linearization);
    EXPECT_EQ(window->valueBox(1)->count(), 2);
    EXPECT_EQ(window->valueBox(1)->currentText(), "T1");
    ASSERT_FALSE(window->setButton(1)->isHidden());

    pick<Input_Tab>(1, [](Input_Tab& tab) {
        EXPECT_EQ(tab.list()->currentRow(), 0); // the row's table
        tab.list()->setCurrentRow(1);
        tab.cmd_ok_Click(1);
    });
    EXPECT_EQ(window->valueBox(1)->currentText(), "T2");
    pick<Input_Tab>(1, [](Input_Tab& tab) { // cancelled: the choice stays
        tab.list()->setCurrentRow(0);
        tab.cmd_ok_Click(0);
    });
    EXPECT_EQ(window->valueBox(1)->currentText(), "T2");
    pick<Input_Tab>(1, [](Input_Tab& tab) {
        typeInto(tab.nameBox(), "Flow");
        tab.cmd_ok_Click(1); // a new name is added as a table
    });
    EXPECT_EQ(project.Tables.Count, 3);
    EXPECT_EQ(window->valueBox(1)->count(), 3);
    EXPECT_EQ(window->valueBox(1)->currentText(), "Flow");
    EXPECT_EQ(project.ProjectModified, -1);
    window->cmd_AddFunc_Click();
    EXPECT_EQ(rung(1).ArgTexts[1], "Flow");
}

TEST_F(PickerTest, AChoiceMadeAfterTheRowWasSetUpAgainGoesNowhere) {
    addTable("T1");
    addTable("T2");
    window->ApriRung(0, 1);
    window->opt_Funzione_Click(Linearization);
    pick<Input_Tab>(1, [this](Input_Tab& tab) {
        window->opt_Funzione_Click(AndWord); // the user goes on in the editor while the picker waits
        tab.list()->setCurrentRow(1);
        tab.cmd_ok_Click(1);
    });
    EXPECT_EQ(window->title()->text(), window->option(AndWord)->text());
    EXPECT_EQ(window->valueBox(1)->findText("T2"), -1);
}

class TableEditorWindowTest : public WindowTest {
  protected:
    std::shared_ptr<DialogHandOver> handOver = std::make_shared<DialogHandOver>();
    Input_Tab tab{ctx, handOver};
};

TEST_F(TableEditorWindowTest, ShowsTheTableAtTheHandedPositionAndScrollsItsPoints) {
    for (const char* name : {"A", "B", "C"}) {
        LookupTable& t = project.Tables.Tables[project.Tables.Count++];
        t.Name = name;
        t.PointCount = 12;
        t.Inputs[11] = 2.5;
    }
    tab.NomeTabella = 2;
    tab.Form_Load();
    EXPECT_EQ(tab.list()->count(), 3);
    EXPECT_EQ(tab.list()->currentRow(), 2);
    EXPECT_EQ(tab.nameBox()->text(), "C");
    EXPECT_EQ(tab.pointsBox()->text(), "12");
    EXPECT_EQ(tab.inputBox(11)->text(), "2.5");
    EXPECT_FALSE(tab.scrollBar()->isHidden()); // twelve points do not fit eight rows
    EXPECT_FALSE(tab.rowShown(8));
    tab.scrollBar()->setValue(4);
    EXPECT_FALSE(tab.rowShown(3));
    EXPECT_TRUE(tab.rowShown(11));

    typeInto(tab.pointsBox(), "5");
    emit tab.pointsBox()->editingFinished();
    EXPECT_TRUE(tab.scrollBar()->isHidden());
    EXPECT_TRUE(tab.rowShown(4));
    EXPECT_FALSE(tab.rowShown(5));
}

TEST_F(TableEditorWindowTest, PointCountIsCheckedWhenTypedNotAtEveryKey) {
    tab.Form_Load();
    typeInto(tab.pointsBox(), "2");
    typeInto(tab.pointsBox(), "27");
    EXPECT_TRUE(dialogs.shown.empty());
    emit tab.pointsBox()->editingFinished();
    EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"N = 2 to 26"}));
}

TEST_F(TableEditorWindowTest, RefusedOkKeepsTheWindowAndTheUsersInputInsertAddsAndCloseReleases) {
    tab.Form_Load();
    handOver->DialogBusy = true;
    const std::pair<const char*, const char*> typed[] = {{"", "4"}, {"Flow", "27"}};
    for (auto [name, points] : typed) {
        typeInto(tab.nameBox(), name);
        typeInto(tab.pointsBox(), points);
        tab.cmd_ok_Click(1);
        EXPECT_TRUE(handOver->DialogBusy) << name;
        EXPECT_EQ(tab.nameBox()->text(), name);
        EXPECT_EQ(tab.pointsBox()->text(), points);
    }
    EXPECT_EQ(project.Tables.Count, 0);
    EXPECT_EQ(dialogs.shown.back(), "Check N points");

    typeInto(tab.nameBox(), "New");
    typeInto(tab.pointsBox(), "8");
    tab.findChild<QPushButton*>("cmd_Insert")->click();
    EXPECT_EQ(tab.list()->count(), 1);
    EXPECT_EQ(project.Tables.Tables[0].Name, "New");
    EXPECT_EQ(project.Tables.Tables[0].PointCount, 8);
    tab.close();
    EXPECT_FALSE(handOver->DialogBusy);
}
