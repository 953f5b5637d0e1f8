// The editor window over the engine: what it draws, what it forwards, how it closes.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>

#include "window_fixture.h"

namespace {

constexpr int Linearization = 30, ReadInput = 0, WriteMultiple = 1, Add = 4, ReadHolding = 40,
              WriteSingle = 65, Goto = 11;

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
    EXPECT_EQ(shownOptions(*window),
              (std::vector<int>{ReadInput, WriteMultiple, 2, 9, ReadHolding, WriteSingle}));
    EXPECT_LT(window->option(ReadHolding)->y(), window->option(WriteSingle)->y()); // row 0 above row 1
    EXPECT_EQ(window->option(ReadHolding)->y(), window->option(ReadInput)->y());
    EXPECT_LT(window->option(ReadHolding)->x(), window->option(ReadInput)->x());
    EXPECT_TRUE(window->option(ReadHolding)->styleSheet().contains("#00ff01")); // 0x01FF00 as BGR

    window->tabs()->setCurrentIndex(7); // by mouse or keyboard alike
    EXPECT_EQ(window->editor().state.SelectedTab, 8);
    EXPECT_EQ(shownOptions(*window), (std::vector<int>{16}));
}

TEST_F(WindowTest, ChoosingAFunctionDrawsItsRows) {
    window->Form_Load();
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
}

// A refused OK keeps the window; a good one encodes into the opened rung of its section, and the rung
// reopens with its texts, Latin-1 label included.
TEST_F(WindowTest, OpeningAStoredRungShowsItAndOkEncodesIt) {
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
    window->opt_Funzione_Click(Linearization); // needs a lookup table, and none is defined
    window->cmd_AddFunc_Click();
    EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"Error: Check Values"}));
    EXPECT_TRUE(window->isVisible());

    window->opt_Funzione_Click(Add);
    typeValue(0, "%R40");
    typeValue(1, "%R41");
    typeValue(4, "%R42");
    const QString label = QString::fromLatin1("Pr\xe9sence");
    typeInto(window->labelBox(), label);
    window->okButton()->click();
    ASSERT_EQ(encoded, (std::vector<std::pair<int, int>>{{1, 2}}));
    EXPECT_EQ(lastRow.FunctionName, "Add");
    EXPECT_EQ(rung(2, 1).ArgTexts[4], "%R42");
    EXPECT_EQ(rung(2, 1).Label, "Pr\xe9sence");
    EXPECT_EQ(rung(2, 0), CommandRecord{});
    EXPECT_EQ(project.ProjectModified, -1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->editor().Caricato);

    window->ApriRung(1, 2);
    EXPECT_EQ(window->title()->text(), "Add");
    EXPECT_TRUE(window->option(Add)->isChecked());
    EXPECT_EQ(window->valueBox(1)->currentText(), "%R41");
    EXPECT_EQ(window->labelBox()->text(), label);
}

TEST_F(WindowTest, EnterInTheLabelValueOrTypeBoxConfirmsLikeOk) {
    int encodings = 0;
    window->rungEncoded = [&](int16_t, int16_t, const RungRow&) { ++encodings; };
    for (auto target : {0, 1, 2}) {
        window->ApriRung(0, 1);
        window->opt_Funzione_Click(WriteSingle);
        QWidget* w = target == 0   ? static_cast<QWidget*>(window->labelBox())
                     : target == 1 ? static_cast<QWidget*>(window->valueBox(0))
                                   : static_cast<QWidget*>(window->typeBox(0));
        if (target == 0)
            emit window->labelBox()->returnPressed();
        else
            pressEnter(w);
        EXPECT_EQ(encodings, target + 1);
        EXPECT_FALSE(window->isVisible());
    }
}

TEST_F(WindowTest, TypeChoiceAndFocusReachTheEditor) {
    window->ApriRung(0, 1);
    window->opt_Funzione_Click(Add);
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
}

TEST_F(WindowTest, JumpTargetsListTheSectionsLabels) {
    rung(1).Label = "LOOP";
    rung(3).Label = "END";
    window->ApriRung(0, 2);
    window->opt_Funzione_Click(Goto);
    int row = -1;
    for (int i = 0; i < ArgumentRowCount; ++i)
        if (window->valueBox(i)->count() > 0 && !window->valueBox(i)->isHidden()) row = i;
    ASSERT_GE(row, 0);
    EXPECT_EQ(window->valueBox(row)->itemText(0), "LOOP");
    EXPECT_EQ(window->valueBox(row)->itemText(1), "END");
    window->txt_Var_Click(row, 1);
    EXPECT_EQ(window->editor().state.Rows[static_cast<size_t>(row)].Value.Text, "END");
    window->cmd_AddFunc_Click();
    EXPECT_EQ(rung(2).ArgTexts[static_cast<size_t>(row)], "END");
}

TEST_F(WindowTest, TriggerAndDelayBoxesReachTheRung) {
    shell.Models[comm.CurrentDevice.ModelIndex].HasTrigger = -1;
    window->ApriRung(0, 1);
    window->opt_Funzione_Click(ReadHolding);
    ASSERT_FALSE(window->triggerFrame()->isHidden());
    EXPECT_FALSE(window->delayBox()->isHidden());
    EXPECT_EQ(window->delayCaption()->text(), "Delay");
    window->triggerBox()->setChecked(true);
    typeInto(window->findChild<QComboBox*>("txt_Var8")->lineEdit(), "120");
    typeInto(window->findChild<QComboBox*>("txt_Opt8")->lineEdit(), "4");
    typeInto(window->delayBox(), "25");
    window->cmd_AddFunc_Click();
    EXPECT_EQ(rung(1).TriggerFlag, -1);
    EXPECT_EQ(rung(1).TriggerRegister, 120);
    EXPECT_EQ(rung(1).TriggerMask, 4);
    EXPECT_EQ(rung(1).Delay, 25);
}

TEST_F(WindowTest, LanguageSwitchRedrawsTheCaptions) {
    window->ApriRung(0, 1);
    CaricaRisorse(shell, Italian);
    window->SetRes();
    EXPECT_EQ(window->windowTitle(), "Funzioni");
    EXPECT_EQ(window->findChild<QGroupBox*>("f_argomenti")->title(), "Opzioni");
}

TEST_F(WindowTest, ChoosingADeviceModuleRedrawsItsResourceAndChannelRows) {
    constexpr int ReadDevice = 2;
    window->ApriRung(0, 1);
    window->opt_Funzione_Click(ReadDevice);
    QComboBox* modules = window->valueBox(0);
    const int digital16 = modules->findData(22);
    ASSERT_GE(digital16, 0);
    window->txt_Var_Click(0, digital16);
    EXPECT_EQ(window->valueBox(4)->currentText(), "Digital In");
    EXPECT_TRUE(window->valueBox(5)->isHidden());
    EXPECT_TRUE(window->valueBox(6)->isHidden());
    EXPECT_EQ(window->editor().CanaleMax, 15);

    window->txt_Var_Click(0, modules->findData(2));
    EXPECT_EQ(window->valueBox(4)->count(), 3);
    EXPECT_EQ(window->valueBox(4)->itemText(2), "CJC Value");
    EXPECT_FALSE(window->valueBox(5)->isHidden());
}
