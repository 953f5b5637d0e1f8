// The editor window over the engine: what it draws, what it forwards, how it closes; the value and table
// pickers it hands rows to through DialogBusy, and the editor staying usable meanwhile.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>

#include "core/build_flags.h"
#include "window_fixture.h"

namespace {

constexpr int AndWord = 21, Linearization = 30, ReadInput = 0, WriteMultiple = 1, Add = 4, ReadHolding = 40,
              WriteSingle = 65;

std::vector<int> shownOptions(comandi& w) {
    std::vector<int> shown;
    for (int k = 0; k < CatalogueSize; ++k)
        if (!w.option(k)->isHidden()) shown.push_back(k);
    return shown;
}

} // namespace

TEST_F(WindowTest, LoadDrawsCaptionsAndTheCommTab) {
    window->Form_Load();
    EXPECT_EQ(window->windowTitle(), "Functions");
    EXPECT_EQ(window->tabs()->currentIndex(), 0);
    std::vector<int> commTab{ReadInput, WriteMultiple, 2, 9, ReadHolding};
    if (BuildInternal) commTab.insert(commTab.end(), {63, 64}); // the internal edition's pointer functions
    commTab.push_back(WriteSingle);
    EXPECT_EQ(shownOptions(*window), commTab);
    EXPECT_LT(window->option(ReadHolding)->y(), window->option(WriteSingle)->y()); // row 0 above row 1
    EXPECT_EQ(window->option(ReadHolding)->y(), window->option(ReadInput)->y());
    EXPECT_LT(window->option(ReadHolding)->x(), window->option(ReadInput)->x());
    EXPECT_TRUE(window->option(ReadHolding)->styleSheet().contains("#00ff01")); // 0x01FF00 as BGR

    window->tabs()->setCurrentIndex(7); // by mouse or keyboard alike
    EXPECT_EQ(window->editor().state.SelectedTab, 8);
    EXPECT_EQ(shownOptions(*window), (std::vector<int>{16}));

    CaricaRisorse(shell, Italian); // a language switch redraws the captions
    window->SetRes();
    EXPECT_EQ(window->windowTitle(), "Funzioni");
    EXPECT_EQ(window->findChild<QGroupBox*>("f_argomenti")->title(), "Opzioni");
}

TEST_F(WindowTest, ChoosingAFunctionDrawsItsRowsAndTypeAndFocusReachTheEditor) {
    window->ApriRung(0, 1);
    window->opt_Funzione_Click(2); // Read Device: a module chosen from the list redraws its rows
    window->txt_Var_Click(0, window->valueBox(0)->findData(22));
    EXPECT_EQ(window->valueBox(4)->currentText(), "Digital In");
    EXPECT_TRUE(window->valueBox(5)->isHidden());
    window->opt_Funzione_Click(Add);
    EXPECT_EQ(window->title()->text(), "Add");
    EXPECT_TRUE(window->option(Add)->isChecked());
    EXPECT_EQ(window->tabs()->currentIndex(), 4); // the function's own tab
    EXPECT_EQ(window->valueBox(0)->currentText(), QString("%R%1").arg(ctx.model().FirstUserRegister));
    EXPECT_EQ(window->typeBox(0)->currentText(), "Int");
    EXPECT_TRUE(window->valueBox(2)->isHidden());
    EXPECT_TRUE(window->typeBox(2)->isHidden());
    EXPECT_TRUE(window->swapBox(0)->isHidden());
    EXPECT_TRUE(window->triggerFrame()->isHidden()); // the model's rungs carry no trigger

    type(0, "Float");
    EXPECT_EQ(window->editor().Args[0].Kind, KindFloat);
    EXPECT_EQ(window->typeBox(0)->currentText(), "Float");
    window->txt_Opt_Click(4, 0);
    EXPECT_EQ(window->editor().ArgCorrente, 4);
    // A register clicked in the register view lands in the row that last had the focus.
    QFocusEvent focus(QEvent::FocusIn);
    QApplication::sendEvent(window->valueBox(1), &focus);
    EXPECT_EQ(window->editor().ArgCorrente, 1);
    window->registerClicked(300, KindUInt);
    EXPECT_EQ(window->valueBox(1)->currentText(), "%R300");
    EXPECT_EQ(window->typeBox(1)->currentText(), "uInt");
    pressEnter(window->valueBox(1)); // Enter in a value box confirms like OK
    EXPECT_FALSE(window->isVisible());
}

// A refused OK keeps the window; a good one encodes into the opened rung of its section, trigger and
// delay boxes included, and the rung reopens with its texts, Latin-1 label included.
TEST_F(WindowTest, OpeningAStoredRungShowsItAndOkEncodesIt) {
    shell.Models[comm.CurrentDevice.ModelIndex].HasTrigger = -1;
    project.Program.Sections[1].RungCount = 2;
    std::vector<std::pair<int, int>> encoded;
    RungRow lastRow;
    window->rungEncoded = [&](int16_t s, int16_t r, const RungRow& row) {
        encoded.emplace_back(s, r);
        lastRow = row;
    };
    window->ApriRung(SectionCount, 1); // no such section or rung: nothing opens
    window->ApriRung(0, MaxRungs + 1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(project.Program.CurrentSection, 0);

    window->ApriRung(1, 2);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(project.Program.CurrentSection, 1);
    EXPECT_EQ(project.Program.CurrentRung, 2);
    EXPECT_EQ(window->valueBox(1)->currentText(), "1"); // never encoded: the defaults stay
    window->opt_Funzione_Click(Linearization);          // needs a lookup table, and none is defined
    pressEnter(window->typeBox(0));                     // Enter in a type box confirms like OK
    EXPECT_EQ(dialogs.shown, (std::vector<std::string>{
                                 "Error: Check Values (row 2 \"Function\": one of the defined tables)"}));
    EXPECT_TRUE(window->isVisible());

    window->opt_Funzione_Click(ReadHolding);
    typeValue(1, "200");
    typeValue(4, "%R42");
    const QString label = QString::fromLatin1("Pr\xe9sence");
    typeInto(window->labelBox(), label);
    ASSERT_FALSE(window->triggerFrame()->isHidden());
    EXPECT_EQ(window->delayCaption()->text(), "Delay");
    window->triggerBox()->setChecked(true);
    typeInto(window->findChild<QComboBox*>("txt_Var8")->lineEdit(), "120");
    typeInto(window->findChild<QComboBox*>("txt_Opt8")->lineEdit(), "4");
    typeInto(window->delayBox(), "25");
    window->okButton()->click();
    ASSERT_EQ(encoded, (std::vector<std::pair<int, int>>{{1, 2}}));
    EXPECT_EQ(lastRow.FunctionName, "Read Holding");
    const CommandRecord& r = rung(2, 1);
    EXPECT_EQ(r.ArgTexts[4], "%R42");
    EXPECT_EQ(r.Label, "Pr\xe9sence");
    EXPECT_EQ((std::array<int, 4>{r.TriggerFlag, r.TriggerRegister, r.TriggerMask, r.Delay}),
              (std::array<int, 4>{-1, 120, 4, 25}));
    EXPECT_EQ(rung(2, 0), CommandRecord{});
    EXPECT_EQ(project.ProjectModified, -1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->editor().Caricato);

    window->ApriRung(1, 2);
    EXPECT_EQ(window->title()->text(), "Read Holding");
    EXPECT_TRUE(window->option(ReadHolding)->isChecked());
    EXPECT_EQ(window->valueBox(1)->currentText(), "200");
    EXPECT_EQ(window->delayBox()->text(), "25");
    EXPECT_EQ(window->labelBox()->text(), label);
}

// A second Set while the picker waits raises it; closing the editor releases a waiting picker.
TEST_F(WindowTest, KLongRowIsEnteredThroughTheValuePicker) {
    const int row = 2; // AND(word)'s second source
    window->ApriRung(0, 1);
    window->opt_Funzione_Click(AndWord);
    type(row, "K_Long");
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
    pick<Input_Box>(row, [&](Input_Box& box) {
        window->cmd_Set_Click(row); // returns at once: the first picker stays the only one
        EXPECT_EQ(window->picker(), &box);
        box.text()->setText("7");
        box.cmd_ok_Click();
    });
    EXPECT_EQ(window->valueBox(row)->currentText(), "7");

    // Another type hides the button and frees the box again.
    type(row, "uInt");
    EXPECT_TRUE(window->setButton(row)->isHidden());
    EXPECT_FALSE(window->valueBox(row)->lineEdit()->isReadOnly());

    type(row, "K_Long");
    later([&] { window->close(); });
    window->cmd_Set_Click(row); // returns: nothing hangs on a picker nobody can answer
    EXPECT_EQ(window->picker(), nullptr);
    EXPECT_FALSE(window->editor().Caricato);
}

TEST_F(WindowTest, TableRowPicksAddsAndKeepsTablesThroughTheTableEditor) {
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
    pressEnter(window->labelBox()); // as in the label box
    EXPECT_EQ(rung(1).ArgTexts[1], "Flow");

    // A choice made after the row was set up again goes nowhere.
    window->ApriRung(0, 1);
    pick<Input_Tab>(1, [this](Input_Tab& tab) {
        window->opt_Funzione_Click(AndWord); // the user goes on in the editor while the picker waits
        tab.list()->setCurrentRow(1);
        tab.cmd_ok_Click(1);
    });
    EXPECT_EQ(window->title()->text(), window->option(AndWord)->text());
    EXPECT_EQ(window->valueBox(1)->findText("T2"), -1);
}

// A rung refused for its table's order leaves the row's Set opening the table editor, with the table as
// typed, as often as needed, until the table is mended and the rung encodes.
TEST_F(WindowTest, TableSetStillOpensAfterTheRungIsRefusedForItsTable) {
    window->ApriRung(0, 1);
    window->opt_Funzione_Click(Linearization);
    int opened = 0;
    const auto setInputs = [](Input_Tab& tab, std::initializer_list<const char*> inputs) {
        int point = 0;
        for (const char* input : inputs)
            typeInto(tab.inputBox(point++), input);
    };
    pick<Input_Tab>(1, [&](Input_Tab& tab) {
        ++opened;
        typeInto(tab.nameBox(), "TX");
        typeInto(tab.pointsBox(), "3");
        emit tab.pointsBox()->editingFinished();
        setInputs(tab, {"0", "100", "50"});
        tab.cmd_ok_Click(1);
    });
    EXPECT_FALSE(window->cmd_AddFunc_Click());
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_NE(dialogs.shown.back().find("inputs ascend (point 3 does not)"), std::string::npos);
    for (const bool mend : {false, false, true}) {
        pick<Input_Tab>(1, [&](Input_Tab& tab) {
            ++opened;
            EXPECT_EQ(tab.nameBox()->text(), "TX");
            EXPECT_EQ(tab.inputBox(1)->text(), "100");
            EXPECT_EQ(tab.inputBox(2)->text(), "50");
            if (mend) setInputs(tab, {"0", "50", "100"});
            tab.cmd_ok_Click(mend ? 1 : 0);
        });
    }
    EXPECT_EQ(opened, 4);
    EXPECT_TRUE(window->cmd_AddFunc_Click());
    EXPECT_EQ(rung(1).ArgTexts[1], "TX");
}

class TableEditorWindowTest : public WindowTest {
  protected:
    std::shared_ptr<DialogHandOver> handOver = std::make_shared<DialogHandOver>();
    Input_Tab tab{ctx, handOver};
};

// The table editor shows the table at the handed position and scrolls its points; it checks the point
// count, refuses an OK without a name or with a bad count, inserts and closes.
TEST_F(TableEditorWindowTest, ShowsScrollsChecksInsertsAndCloses) {
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

    project.Tables.Count = 0;
    tab.Form_Load();
    handOver->DialogBusy = true;
    typeInto(tab.pointsBox(), "2"); // checked when typed, not at every key
    typeInto(tab.pointsBox(), "27");
    EXPECT_TRUE(dialogs.shown.empty());
    emit tab.pointsBox()->editingFinished();
    EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"N = 2 to 26"}));
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
