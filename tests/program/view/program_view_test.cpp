#include "view_fixture.h"

using namespace row_layout;

class ProgramViewTest : public ViewFixture {};

TEST_F(ProgramViewTest, SelectionMovesTheRedFrameAndClickingThePlaceholderClearsItOnce) {
    projectWith(8);
    view.rowClick(7);
    view.rowClick(3);
    EXPECT_EQ(row(7).FrameColour, SystemButtonFace);
    EXPECT_EQ(row(3).FrameColour, Red);
    view.rowClick(5);
    view.rowClick(5); // a second click keeps the frame
    EXPECT_EQ(row(5).FrameColour, Red);
    EXPECT_EQ(row(3).FrameColour, SystemButtonFace);
    EXPECT_EQ(store().CurrentRung, 5);
    view.descriptionChanged(10, "x"); // a rung number without a row changes nothing
    EXPECT_EQ(rung(10).Description, "<...>");
    view.RidisegnaRung();
    view.descriptionClick(9);
    EXPECT_EQ(store().CurrentRung, 9);
    EXPECT_EQ(rung(9).Description, "");
    view.descriptionChanged(9, "typed");
    view.descriptionClick(9);
    EXPECT_EQ(rung(9).Description, "typed");
}

TEST_F(ProgramViewTest, AppendingRowsBuildsEmptyRowsAndScrollsFromTheFourth) {
    NuovoProgetto(life);
    EXPECT_EQ(section().RungCount, 1);
    EXPECT_EQ(row(1).Content.Description, "<...>");
    EXPECT_FALSE(row(1).Content.PictureVisible);
    EXPECT_FALSE(row(1).Content.CaptionVisible[0]);
    EXPECT_EQ(view.ScrollValue, 0);
    view.RidisegnaRung();
    view.RidisegnaRung();
    EXPECT_EQ(view.ScrollValue, 0);
    EXPECT_FALSE(view.ScrollVisible);
    view.RidisegnaRung();
    EXPECT_TRUE(view.ScrollVisible);
    EXPECT_EQ(view.ScrollValue, 1);
    EXPECT_EQ(view.ScrollMax, 4);
    EXPECT_EQ(store().CurrentRungCount, 4);
}

TEST_F(ProgramViewTest, LayoutStacksFullRowsOrCompactsTheCurrentSection) {
    projectWith(10);
    view.MainHeight = 13000;
    view.ImpostaScroll(0);
    for (int r = 1; r <= 8; ++r) {
        EXPECT_EQ(row(r).Top, 200 + 1800 * (r - 1)) << r;
        EXPECT_EQ(row(r).FrameTop, row(r).Top - 60);
        EXPECT_EQ(row(r).Height, 1516);
        EXPECT_EQ(row(r).FrameHeight, 1636);
    }
    EXPECT_EQ(row(9).Top, 200 - 1800); // above the view
    view.ImpostaScroll(3);
    EXPECT_EQ(row(3).Top, 200 - 1800);
    EXPECT_EQ(row(4).Top, 200);
    view.ImpostaScroll(10); // first = RungCount: nothing placed
    for (int r = 1; r <= 10; ++r)
        EXPECT_EQ(row(r).Top, 200 - 1800);
    // The format switch compacts only the current section.
    projectWith(4);
    view.rowClick(3);
    view.formatClick();
    EXPECT_EQ(section().ViewFormat, 1);
    EXPECT_EQ(view.FormatPicture, FormatToFullPicture);
    EXPECT_EQ(view.ScrollValue, 2);
    EXPECT_EQ(row(3).Top, 200);
    EXPECT_EQ(row(4).Top, 200 + 565);
    EXPECT_EQ(row(4).Height, 400);
    EXPECT_EQ(row(4).FrameHeight, 520);
    EXPECT_TRUE(row(4).LineTextVisible);
    EXPECT_EQ(store().Sections[1].ViewFormat, 0);
    view.formatClick();
    EXPECT_EQ(row(4).Height, 1516);
    EXPECT_EQ(view.RowPitch, 1800);
    EXPECT_FALSE(row(4).LineTextVisible);
    EXPECT_EQ(view.FormatPicture, FormatToCompactPicture);
    EXPECT_EQ(project.ProjectModified, 0);
    store().CurrentRung = 0; // without a selection the switch starts at the top
    view.formatClick();
    EXPECT_EQ(view.ScrollValue, 0);
    EXPECT_EQ(row(1).Top, 200);
    // The selected rung goes to the top, and the bar shows to bring the rungs above it back.
    projectWith(2);
    ASSERT_FALSE(view.ScrollVisible);
    view.rowClick(2);
    view.formatClick();
    EXPECT_EQ(std::pair(view.ScrollValue, view.ScrollVisible), std::pair(1, true));
    // The rungs above the selection are a scroll away.
    projectWith(6);
    view.rowClick(5);
    view.formatClick();
    view.formatClick();
    EXPECT_LT(row(1).Top, 0); // above the view
    view.setScroll(0);
    EXPECT_EQ(row(1).Top, 200);
}

TEST_F(ProgramViewTest, HitTestFindsTheRowControls) {
    projectWith(2);
    view.ImpostaScroll(0);
    // Row 2's panel starts at left 120, top 2000.
    EXPECT_EQ(view.hitTest(120 + 10, 2000 + 10).Where, RowHit::Number);
    EXPECT_EQ(view.hitTest(120 + 400, 2000 + 10).Where, RowHit::Label);
    RowHit value = view.hitTest(120 + 2300, 2000 + 370);
    EXPECT_EQ(value.Where, RowHit::Value);
    EXPECT_EQ(value.Slot, 0);
    EXPECT_EQ(value.Rung, 2);
    EXPECT_EQ(view.hitTest(120 + 3100, 2000 + 400).Where, RowHit::Picture);
    EXPECT_EQ(view.hitTest(120 + 100, 2000 + 1250).Where, RowHit::Description);
    EXPECT_EQ(view.hitTest(120 + 7200, 2000 + 800).Where, RowHit::Panel);
    EXPECT_EQ(view.hitTest(20, 2000 + 10).Where, RowHit::None);
}
