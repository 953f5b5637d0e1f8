// The variables window over the project's tables, headless.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTreeWidget>

#include "app_context_fixture.h"
#include "core/resource_strings.h"
#include "project/ui/frm_variabili.h"

namespace {

class VariablesWindow : public ::testing::Test, public AppContextFixture {
  protected:
    std::shared_ptr<VarPickerHandOver> handOver = std::make_shared<VarPickerHandOver>();
    std::unique_ptr<frm_variabili> w;

    void open() {
        w = std::make_unique<frm_variabili>(ctx, handOver);
        w->show();
    }
    template <class T> T* child(const char* name) {
        T* c = w->findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QPushButton* button(const char* name) { return child<QPushButton>(name); }
    QLineEdit* box(const char* name) { return child<QLineEdit>(name); }
    bool shown(const char* name) { return child<QWidget>(name)->isVisibleTo(w.get()); }
    void addVariables(int n) {
        for (int i = 0; i < n; ++i)
            button("cmd_add")->click();
    }
};

} // namespace

TEST_F(VariablesWindow, AddMoveAndRemoveKeepListFieldsAndButtonsInStep) {
    open();
    EXPECT_FALSE(button("cmd_remove")->isEnabled());
    addVariables(2);
    EXPECT_EQ(w->list()->topLevelItem(1)->text(4), "Var1");
    EXPECT_EQ(box("txt_Label")->text(), "Var1"); // the new variable is selected and shown
    button("cmd_up")->click();
    EXPECT_EQ(project.Variables.Variables[0].Name, "Var1");
    EXPECT_EQ(box("txt_WebReg0")->text(), "0");
    button("cmd_remove")->click(); // the first row goes and nothing stays selected
    EXPECT_TRUE(w->list()->selectedItems().isEmpty());
    button("cmd_remove")->click(); // without a selection nothing goes; the first row is selected
    EXPECT_EQ(project.Variables.Count, 1);
    button("cmd_remove")->click();
    EXPECT_EQ(project.Variables.Count, 0);
    EXPECT_FALSE(button("cmd_remove")->isEnabled() || button("cmd_up")->isEnabled() ||
                 button("cmd_down")->isEnabled());
}

TEST_F(VariablesWindow, FieldsFollowTheSelectedVariablesType) {
    project.Variables.Count = 2;
    project.Variables.Variables[0] = {30, 4, "% 3.1x", "Temp", 0, 0, 0, 0, "T"};
    project.Variables.Variables[1] = {2, 14, "9", "Site", 9, 8, 0, 1, "S"};
    open();
    w->list()->setCurrentItem(w->list()->topLevelItem(0));
    EXPECT_EQ(std::tuple(shown("frm_format"), shown("frm_alt"), child<QCheckBox>("chk_sign")->isChecked(),
                         child<QComboBox>("cmb_outFormat")->currentIndex()),
              std::tuple(true, false, false, 2));
    w->list()->setCurrentItem(w->list()->topLevelItem(1));
    // Mask "0": "Set Altern." is not checked and its register is hidden.
    EXPECT_EQ(std::tuple(shown("frm_format"), shown("frm_alt"), shown("chk_swap"),
                         child<QCheckBox>("chk_swap")->isChecked(),
                         child<QCheckBox>("chk_altern")->isChecked(), shown("txt_WebReg4")),
              std::tuple(false, true, true, true, false, false));
    child<QCheckBox>("chk_altern")->click();
    EXPECT_TRUE(shown("txt_WebReg4"));
    EXPECT_EQ(box("txt_WebReg4")->text(), "8");
}

TEST_F(VariablesWindow, ApplyingStoresTheFieldsOrReportsAZeroMask) {
    open();
    addVariables(1);
    EXPECT_EQ(box("txt_scroll1")->text(), "0"); // "%+5.0f": no decimals, shown before any change
    box("txt_Label")->setText("Flow");
    child<QCheckBox>("chk_sign")->setChecked(false);
    button("cmd_RegistriWEB0")->click();
    EXPECT_EQ(project.Variables.Variables[0].Name, "Flow");
    EXPECT_EQ(project.Variables.Variables[0].Format, "% 5.0f");
    EXPECT_EQ(w->list()->topLevelItem(0)->text(4), "Flow");
    // A string variable with "Set Altern." and mask 0.
    auto* type = child<QComboBox>("cmb_Type");
    type->setCurrentIndex(13);
    w->cmb_Type_Click();
    box("txt_WebReg5")->setText("3");
    w->cmb_Type_Click(); // mask not "0": "Set Altern." comes up checked
    box("txt_WebReg5")->setText("0");
    box("txt_nomeCampo")->setText("kept out");
    button("cmd_RegistriWEB0")->click();
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{"Check values (Mask)"});
    EXPECT_EQ(project.Variables.Variables[0].ValueType, 0); // nothing of a refused edit is stored
    EXPECT_EQ(project.Variables.Variables[0].CsvName, "Var0");
    // The user makes the numeric variable a string: its own alternate fields show, not the format text
    // or what the boxes held before, and one Apply stores what was typed. A refusal quotes the text as typed.
    box("txt_WebReg4")->setText("9");
    w->List1_Click();
    type->setCurrentIndex(13);
    emit type->activated(13);
    const VariableRecord& v = project.Variables.Variables[0];
    EXPECT_EQ(std::tuple(box("txt_WebReg3")->text(), box("txt_WebReg4")->text(), box("txt_WebReg5")->text()),
              std::tuple(QString::number(v.AltRegister), "0", "0")); // mask 0: "Set Altern." unticked
    child<QCheckBox>("chk_altern")->click();
    for (auto [field, text] : {std::pair{"txt_WebReg3", "31"}, {"txt_WebReg4", "32"}, {"txt_WebReg5", "3"}})
        box(field)->setText(text);
    box("txt_nomeCampo")->setText("Flow");
    box("txt_WebReg1")->setText(QString::fromUtf8("3\u0436"));
    button("cmd_RegistriWEB0")->click();
    EXPECT_NE(dialogs.shown.back().find("Location Reg (Default) \"3\u0436\""), std::string::npos);
    box("txt_WebReg1")->setText("30");
    button("cmd_RegistriWEB0")->click();
    EXPECT_EQ(std::tuple(v.Register, v.ValueType, v.AltRegister, v.TriggerRegister, v.Mask, v.CsvName),
              std::tuple(30, 13, 31, 32, 3, "Flow"));
}

TEST_F(VariablesWindow, OkHandsTheSelectionToTheWaitingCallerAndClosingReleasesIt) {
    for (bool ok : {true, false}) {
        open();
        addVariables(3);
        handOver->VarPickerBusy = -1;
        w->list()->setCurrentItem(w->list()->topLevelItem(1));
        project.ProjectModified = 0;
        ok ? button("cmd_ok")->click() : static_cast<void>(w->close());
        EXPECT_EQ(handOver->VarPickerBusy, 0) << ok;
        EXPECT_EQ(handOver->VarPickerResult, ok ? 1 : -1);
        EXPECT_EQ(project.ProjectModified, ok ? -1 : 0);
        EXPECT_FALSE(w->isVisible());
    }
}

TEST_F(VariablesWindow, StringAndTextPagesOnlyForTheBrandsModels) {
    open();
    EXPECT_FALSE(w->tabs()->isTabEnabled(1) || w->tabs()->isTabEnabled(2));
    EXPECT_TRUE(w->findChild<QLabel*>("lbl_textNote")->isVisible());
    w->tabs()->setCurrentIndex(1);
    EXPECT_TRUE(w->page(0)->isVisible()); // never an empty page
    EXPECT_FALSE(w->page(1)->isVisible());
    w.reset();
    shell.Models[comm.CurrentDevice.ModelIndex].ModelName = *ResourceString(626);
    shell.Models[comm.CurrentDevice.ModelIndex].MaxStrings = 4;
    shell.Models[comm.CurrentDevice.ModelIndex].MaxBlocks = 11;
    project.Blocks[10] = {"One\r\nTwo", "Help"};
    open();
    w->tabs()->setCurrentIndex(1);
    EXPECT_TRUE(w->page(1)->isVisible());
    auto* strings = child<QListWidget>("lst_strings");
    ASSERT_EQ(strings->count(), 4);
    strings->setCurrentRow(3);
    box("txt_stringa")->setText(QString::fromLatin1("Caf\xE9"));
    button("cmd_SetString")->click();
    EXPECT_EQ(project.Strings[3].Text, "Caf\xE9");
    box("txt_stringa")->setText(QString::fromUtf8("5 \u20AC")); // the euro sign has no Latin-1 byte
    button("cmd_SetString")->click();
    EXPECT_EQ(project.Strings[3].Text, "Caf\xE9");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].find("only Latin-1 characters"), std::string::npos);
    w->tabs()->setCurrentIndex(2);
    EXPECT_TRUE(w->page(2)->isVisible());
    auto* blocks = child<QListWidget>("lst_block");
    ASSERT_EQ(blocks->count(), 11);
    blocks->setCurrentRow(10);
    EXPECT_EQ(child<QPlainTextEdit>("txt_block")->toPlainText(), "One\nTwo");
    box("txt_BlockDesc")->setText("Help 2");
    button("cmd_RegistriWEB1")->click();
    EXPECT_EQ(project.Blocks[10], (TextBlock{"One\r\nTwo", "Help 2"}));
    EXPECT_EQ(blocks->currentRow(), 10);
}

// A name box refuses, as it is typed or pasted, what its one line of Latin-1 bytes cannot keep.
TEST_F(VariablesWindow, NameBoxesRefuseCharactersOutsideLatin1AndLineBreaks) {
    open();
    addVariables(1);
    for (const char* name : {"txt_Label", "txt_nomeCampo"}) {
        QLineEdit* b = box(name);
        b->setText("Flow");
        b->setCursorPosition(4);
        for (const char* refused : {" 5 \u20AC", "\nline", "\r"})
            b->insert(QString::fromUtf8(refused));
        b->insert(QString::fromUtf8(" caf\u00E9"));
        EXPECT_EQ(b->text(), QString::fromUtf8("Flow caf\u00E9")) << name;
    }
}
