#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTabBar>
#include <QToolButton>

#include "program/ui/program_commands.h"
#include "program/ui/program_window.h"
#include "view_fixture.h"

class ProgramWindowTest : public ViewFixture {
  protected:
    ProgramCommands commands{ctx};

    void SetUp() override {
        ViewFixture::SetUp();
        commands.NuovoProgramma();
        commands.NuovoProgetto();
    }
    ProgramWindow& window() { return *commands.window(); }
    // The centre of a row control, in the rows container's pixels.
    QPointF at(int rung, const row_layout::Box& b) {
        const ViewRow& r = *commands.view.row(rung);
        return {double(window().px(row_layout::PanelLeft + b.x + b.w / 2)),
                double(window().px(r.Top + b.y + b.h / 2))};
    }
    void press(QPointF p, Qt::MouseButton button, QEvent::Type type = QEvent::MouseButtonPress) {
        QMouseEvent e(type, p, window().rows()->mapToGlobal(p), button, button, Qt::NoModifier);
        QApplication::sendEvent(window().rows(), &e);
    }
    void addRungs(int n) {
        for (int k = 1; k <= n; ++k) {
            if (k > 1) commands.view.RidisegnaRung();
            RungRow row;
            row.FunctionName = "Read Holding";
            row.PictureVisible = true;
            row.ArgValues = {"1", "100", "10", "", "%R30", "", "", ""};
            row.ValueVisible = {true, true, true, false, true};
            row.Description = "Rung " + std::to_string(k);
            project.Program.current().Rungs[static_cast<size_t>(k)].FunctionType = 4;
            commands.rowWritten(0, static_cast<int16_t>(k), row, true);
        }
    }
};

TEST_F(ProgramWindowTest, MouseSelectsOpensAndPopsUpTheRungMenu) {
    addRungs(3);
    int popups = 0;
    commands.setRungMenu([&] { ++popups; });
    std::vector<int16_t> openedRungs;
    commands.setEditor({[&](int16_t p) { openedRungs.push_back(p); }, {}});
    press(at(2, row_layout::LabelBox), Qt::LeftButton);
    EXPECT_EQ(store().CurrentRung, 2);
    press(at(3, row_layout::valueBox(1)), Qt::RightButton);
    EXPECT_EQ(store().CurrentRung, 3);
    EXPECT_EQ(popups, 1);
    press(at(1, row_layout::PictureBox), Qt::LeftButton, QEvent::MouseButtonDblClick);
    EXPECT_EQ(openedRungs, std::vector<int16_t>{1});
    // The rung number does nothing.
    press(at(2, row_layout::NumberBox), Qt::LeftButton);
    EXPECT_EQ(store().CurrentRung, 1);
}

TEST_F(ProgramWindowTest, TypedDescriptionIsStoredWithoutCommasAndMarksTheProject) {
    commands.view.RidisegnaRung();
    press(at(2, row_layout::DescriptionBox), Qt::LeftButton);
    auto* box = window().findChild<QLineEdit*>("txt_desc");
    ASSERT_TRUE(box->isVisible());
    EXPECT_EQ(box->text(), "");
    box->setFocus();
    box->insert("a,b");
    EXPECT_EQ(rung(2).Description, "ab");
    EXPECT_EQ(commands.view.row(2)->Content.Description, "a,b");
    EXPECT_EQ(project.ProjectModified, -1); // closing now asks before the text goes
}

TEST_F(ProgramWindowTest, TabsScrollBarAndFormatFollowTheModel) {
    addRungs(5);
    EXPECT_TRUE(window().scrollBar()->isVisibleTo(&window()));
    // The bar runs to the rung count; one short of it the last rung is the top row.
    EXPECT_EQ(window().scrollBar()->maximum(), 5);
    window().scrollBar()->setValue(4);
    EXPECT_EQ(commands.view.row(5)->Top, row_layout::RowTopMargin);
    NuovaSub(commands.editing);
    EXPECT_EQ(window().tabs()->count(), 2);
    EXPECT_EQ(window().tabs()->tabText(1), "Sub1");
    EXPECT_EQ(window().tabs()->currentIndex(), 1);
    window().tabs()->setCurrentIndex(0);
    EXPECT_EQ(store().CurrentSection, 0);
    window().formatButton()->click();
    EXPECT_EQ(store().Sections[0].ViewFormat, 1);
}

// 8 rungs, rung 5 selected, compact rows: rungs 1 to 4 lie above the view and the bar reaches them.
TEST_F(ProgramWindowTest, CompactRowsKeepTheRungsAboveOnTheBar) {
    addRungs(8);
    commands.view.rowClick(5);
    window().formatButton()->click();
    EXPECT_EQ(std::pair(window().scrollBar()->maximum(), window().scrollBar()->value()), std::pair(8, 4));
    window().scrollBar()->setValue(0);
    EXPECT_EQ(commands.view.row(1)->Top, row_layout::RowTopMargin);
}

TEST_F(ProgramWindowTest, RestoreWithoutEditorWindowReencodesTheRungAndDrawsItsRow) {
    // A Read Holding rung as the editor encodes rows "1", "100", "10", "%R30".
    CommandRecord& r = rung(1);
    r.Description = "Read temps";
    r.FunctionType = 4;
    r.EncodedFlag = -1;
    r.ArgTexts = {"1", "100", "10", "", "%R30"};
    r.ArgBytes = {{{1}, {100}, {10}, {30}, {10}}};
    const CommandRecord before = r;
    commands.view.RidisegnaRung();
    CancellaRung(commands.editing, 1);
    ASSERT_TRUE(RipristinaRung(commands.editing));
    EXPECT_EQ(rung(1).FunctionType, 4);
    EXPECT_EQ(rung(1).ArgBytes, before.ArgBytes);
    EXPECT_EQ(rung(1).Description, "Read temps");
    const ViewRow& row = *commands.view.row(1);
    EXPECT_TRUE(row.Content.PictureVisible);
    EXPECT_EQ(row.Content.ArgValues[0], "1");
    EXPECT_EQ(row.Content.Description, "Read temps");
    EXPECT_EQ(project.ProjectModified, -1);
    EXPECT_EQ(section().RungCount, 2);
}

// A rung the editor refuses (a register the model has not) is back after delete and restore as the load
// showed it: "Not encoded" with its function and label, still not encoded, and the project modified.
TEST_F(ProgramWindowTest, ARestoredRungTheEditorRefusesIsShownAsNotEncoded) {
    commands.useEditorWindow();
    std::tie(rung(1).Label, rung(1).FunctionType) = std::tuple("TEMPS", 4); // Read Holding
    rung(1).ArgTexts = {"1", "100", "10", "", "%R9000"};
    commands.rebuildLoadedRung(0, 1);
    CancellaRung(commands.editing, 1);
    ASSERT_TRUE(RipristinaRung(commands.editing));
    const RungRow& row = commands.view.row(1)->Content;
    EXPECT_EQ(
        std::tuple(row.FunctionName, row.Label, row.Summary, rung(1).EncodedFlag, project.ProjectModified),
        std::tuple("Not encoded", "TEMPS", "Read Holding: open the rung, correct it and add it again", 0,
                   -1));
}
