// Page directives laid over the window: slots placed and sized from their rows, the style of
// row 8, the notices of row 6, and what a failing row leaves behind.
#include <gtest/gtest.h>

#include "base/convert.h"
#include "platform/ui/window_range.h"
#include "tests/launcher/launcher_rig.h"

namespace pelmorix {
namespace {

// A launcher whose rows are loaded with pictures off (row 0's Action "0").
class LayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.Server.Put("buttons.txt", ButtonRows("0|600|400|0||Start|||"));
    rig.Start();
    rig.Show();
  }
  TLauncherRig rig;
};

TEST_F(LayoutTest, BlockPlacesSizesAndShowsItsSlot) {
  rig.LoadPage("<html><body>[3|20|150|3|120x40|Spielen|x|1]</body></html>");
  TBitBtn& slot = *rig.Form->BitBtn3;
  EXPECT_TRUE(slot.Visible());
  EXPECT_EQ((std::tuple{slot.Left(), slot.Top(), slot.Width(), slot.Height()}),
            (std::tuple{20, 150, 120, 40}));
  EXPECT_EQ(slot.Caption(), "Spielen");
  EXPECT_EQ(slot.Font().Size(), 12);
  EXPECT_TRUE(slot.Font().Style() & fsBold);
  EXPECT_FALSE(rig.Form->BitBtn4->Visible());
  EXPECT_EQ(rig.Browser->Refreshes, 0);  // pictures are off: nothing fetched
}

TEST_F(LayoutTest, ModesAreResetByEveryPageAndDefaultSizesApply) {
  rig.LoadPage("<html><body>[1|5|6|2||a||1] [4|1|2|4||Update||1] [12|9]</body></html>");
  EXPECT_EQ(rig.Form->BitBtn1->Width(), 28);
  EXPECT_EQ(rig.Form->BitBtn1->Height(), 32);
  EXPECT_EQ(rig.Form->BitBtn4->Width(), 180);
  EXPECT_TRUE(rig.Form->BitBtn4->Visible());
  // The next page names no slot: all are hidden again, rows keep their other fields.
  rig.LoadPage("<html><body>id=205 [3|20|160|4]</body></html>");
  EXPECT_EQ(rig.State().Settings.InstallationId, 205);
  EXPECT_FALSE(rig.Form->BitBtn4->Visible());
  EXPECT_FALSE(rig.Form->BitBtn3->Visible());
  EXPECT_EQ(rig.State().ButtonTable[4].Caption, "Update");
  EXPECT_EQ(rig.State().ButtonTable[3].Action, "4");
}

TEST_F(LayoutTest, SizeTextsAndModesAreReadExactly) {
  rig.LoadPage(
      "<html><body>[5|0|0|5|x40|five||1] [7|0|0|7|99X9|seven|| 0] [9|0|0|9||nine||]</body></html>");
  EXPECT_EQ(rig.Form->BitBtn5->Width(), 180);  // an "x" in first place is no size
  EXPECT_EQ(rig.Form->BitBtn7->Width(), 180);  // nor is a capital "X"
  EXPECT_TRUE(rig.Form->BitBtn7->Visible());   // " 0" is not "0"
  EXPECT_TRUE(rig.Form->BitBtn9->Visible());   // an empty mode shows the slot

  // "100x" fails at slot 3: slots before it keep their layout, later ones stay hidden.
  rig.LoadPage(
      "<html><body>[2|0|0|2||two||1] [3|0|0|3|100x|three||1] [4|0|0|4||four||1]</body></html>");
  EXPECT_TRUE(rig.Form->BitBtn2->Visible());
  EXPECT_FALSE(rig.Form->BitBtn3->Visible());
  EXPECT_FALSE(rig.Form->BitBtn4->Visible());
  ASSERT_FALSE(rig.Boxes().empty());
  EXPECT_EQ(rig.Boxes().back().text, "'' ist kein g\xFCltiger Integerwert.");
  EXPECT_EQ(rig.Boxes().back().flags & MB_ICONERROR, MB_ICONERROR);
}

TEST_F(LayoutTest, RowEightStylesEveryButton) {
  rig.LoadPage("<html><body>[8|0|2|10] [3|1|1|3||Go||1] [1|1|1|1||_||1]</body></html>");
  EXPECT_EQ(rig.Form->BitBtn3->Font().Size(), 10);
  EXPECT_EQ(rig.Form->BitBtn3->Font().Color(), 0x0000FFu);  // red
  EXPECT_EQ(rig.Form->BitBtn1->Font().Color(), 0x0000FFu);
  rig.LoadPage("<html><body>[8|left|2|10] [3|1|1|3||Go||1]</body></html>");
  // The style row fails before any slot: slot 3 keeps the layout of the page before.
  ASSERT_EQ(rig.Boxes().size(), 1u);
  EXPECT_EQ(rig.Boxes()[0].text, "'left' ist kein g\xFCltiger Integerwert.");
  EXPECT_EQ(rig.Form->BitBtn3->Font().Size(), 10);
}

TEST(Layout, ServerNumbersStayWithinWhatAWindowCanHave) {
  TLauncherRig rig;
  rig.Server.Put("buttons.txt", ButtonRows("0|2147483647|2147483644|0||Start|||"));
  rig.Start();
  rig.Show();
  EXPECT_EQ(rig.Form->ClientWidth(), kMaxWindowSize);  // the sum + 4 does not wrap
  EXPECT_EQ(rig.Form->ClientHeight(), kMaxWindowSize);

  rig.LoadPage(
      "<html><body>[8|0|2|2147483647] [3|2147483647|-2147483648|3|2147483647x-9|Go||1] "
      "[4|-40|50|4||Neg||1]</body></html>");
  const TBitBtn& slot = *rig.Form->BitBtn3;
  EXPECT_EQ((std::tuple{slot.Left(), slot.Top(), slot.Width(), slot.Height()}),
            (std::tuple{kMaxWindowPlace, kMinWindowPlace, kMaxWindowSize, 0}));
  EXPECT_LE(-slot.Font().Height(), kMaxWindowSize);
  EXPECT_GT(slot.Font().Size(), 20000);
  EXPECT_EQ(rig.Form->BitBtn4->Left(), -40);  // numbers within the range stay as they are
  EXPECT_TRUE(rig.Boxes().empty());
  rig.LoadPage("<html><body>[8|0|2|-2147483648] [3|1|2|3||Go||1]</body></html>");
  EXPECT_LE(rig.Form->BitBtn3->Font().Height(), kMaxWindowSize);
  EXPECT_LT(rig.Form->BitBtn3->Font().Size(), -20000);

  // A number beyond 32 bits is still a conversion failure for the caller.
  rig.LoadPage("<html><body>[3|2147483648|0|3||Go||1]</body></html>");
  ASSERT_EQ(rig.Boxes().size(), 1u);
  EXPECT_EQ(rig.Boxes()[0].text, "'2147483648' ist kein g\xFCltiger Integerwert.");
  EXPECT_FALSE(rig.Form->BitBtn3->Visible());
}

TEST_F(LayoutTest, NoticesAppearOnceAndTheSecondAgainAfterADownload) {
  rig.LoadPage("<html><body>[6|0|0|0||12345678|123456789]</body></html>");
  ASSERT_EQ(rig.Boxes().size(), 1u);  // a caption of eight characters is not shown
  EXPECT_EQ(rig.Boxes()[0].text, "123456789");
  EXPECT_EQ(rig.Boxes()[0].caption, "Start");
  rig.LoadPage("<html><body>[6|0|0|0||Erster Hinweis|Zweiter Hinweis]</body></html>");
  // The page's download clears the second flag before its document completes.
  ASSERT_EQ(rig.Boxes().size(), 3u);
  EXPECT_EQ(rig.Boxes()[1].text, "Erster Hinweis");
  EXPECT_EQ(rig.Boxes()[2].text, "Zweiter Hinweis");
  rig.Browser->DocumentComplete(rig.Browser->TopLevel(), "x");
  EXPECT_EQ(rig.Boxes().size(), 3u);
}

TEST_F(LayoutTest, BadIdDirectiveReachesTheErrorReportAndKeepsPaintingFrozen) {
  rig.LoadPage("<html><body><a href='x?id=abc'>[3|1|1|3||Go||1]</a></body></html>");
  EXPECT_FALSE(rig.Form->BitBtn3->Visible());
  ASSERT_EQ(rig.Boxes().size(), 1u);
  EXPECT_EQ(rig.Boxes()[0].text, "'' ist kein g\xFCltiger Integerwert.");
  EXPECT_NE(rig.Ui.FrozenWindow, 0u);
  rig.LoadPage("<html><body>[3|1|1|3||Go||1]</body></html>");  // a good page releases it
  EXPECT_EQ(rig.Ui.FrozenWindow, 0u);
  EXPECT_TRUE(rig.Form->BitBtn3->Visible());
}

}  // namespace
}  // namespace pelmorix
