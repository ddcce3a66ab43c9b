// The grid's gestures: clicks, the rubber band, keys, drops, and its cursor.

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTest>

#include "apptestsupport.h"

namespace varnel::test {
namespace {

class LocalGridTest : public testing::Test {
 protected:
  void SetUp() override {
    harness.AddItems(12);
    harness.ShowWithColumns(4);
    ASSERT_EQ(harness.grid->GridLayout().columns, 4);
  }
  void Click(int item, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mouseClick(harness.grid->viewport(), Qt::LeftButton, modifiers,
                      harness.ImageCentre(item));
  }
  // A key pressed while Shift is held since the last PressShift (no new Shift press).
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(harness.grid.get(), &press);
  }
  void PressShift() { Key(Qt::Key_Shift, Qt::ShiftModifier); }
  // A band dragged with the left button between two viewport points.
  void Band(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* viewport = harness.grid->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, modifiers, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), viewport->mapToGlobal(QPointF(to)),
                     Qt::NoButton, Qt::LeftButton, modifiers);
    QApplication::sendEvent(viewport, &move);
    QTest::mouseRelease(viewport, Qt::LeftButton, modifiers, to);
  }
  QPoint EmptyMarginOf(int item) const {
    return harness.grid->CellRect(item).topLeft() + QPoint(1, 1);
  }

  GridHarness harness;
};

TEST_F(LocalGridTest, ClickSelectsOnlyTheItemAndMovesTheCursor) {
  Click(2);
  Click(5);
  EXPECT_EQ(harness.Selected(), (std::vector<int>{5}));
  EXPECT_EQ(harness.grid->Current(), 5);
  EXPECT_EQ(harness.ui.statusTexts[0], "Icon 5");
}

// A click after a click changes only the two icons; one after the selection changed otherwise
// (by the collection, or items moved) still leaves a single icon selected.
TEST_F(LocalGridTest, ClickAfterOtherSelectionChangesSelectsOnlyTheItem) {
  Click(2);
  harness.lib->SetSelected(7, true);
  Click(5);
  EXPECT_EQ(harness.Selected(), (std::vector<int>{5}));
  harness.lib->SelectAll();
  Click(1);
  EXPECT_EQ(harness.Selected(), (std::vector<int>{1}));
  harness.lib->SetSelected(9, true);
  harness.grid->DropSelectionOn(3);  // items 1 and 9 move before item 3
  Click(8);
  EXPECT_EQ(harness.Selected(), (std::vector<int>{8}));
}

TEST_F(LocalGridTest, CtrlClickTogglesAndShiftClickExtendsFromTheAnchor) {
  Click(1);
  Click(3, Qt::ControlModifier);
  EXPECT_EQ(harness.Selected(), (std::vector<int>{1, 3}));
  Click(1, Qt::ControlModifier);
  EXPECT_EQ(harness.Selected(), (std::vector<int>{3}));
  Click(6, Qt::ShiftModifier);  // the anchor is item 1, the last click
  EXPECT_EQ(harness.Selected(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(harness.grid->Current(), 6);
}

TEST_F(LocalGridTest, ClickOnASelectedItemDecidesOnRelease) {
  harness.lib->SelectAll();
  QWidget* viewport = harness.grid->viewport();
  QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, harness.ImageCentre(4));
  EXPECT_EQ(harness.Selected().size(), 12u);  // kept for a possible drag
  QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, harness.ImageCentre(4));
  EXPECT_EQ(harness.Selected(), (std::vector<int>{4}));
}

TEST_F(LocalGridTest, ClickOnTheEmptyMarginOfACellStartsABand) {
  Click(2);
  EXPECT_EQ(harness.grid->HitTest(EmptyMarginOf(5)), -1);
  QTest::mouseClick(harness.grid->viewport(), Qt::LeftButton, Qt::NoModifier, EmptyMarginOf(5));
  // A band of a single point clears the selection.
  EXPECT_TRUE(harness.Selected().empty());
}

TEST_F(LocalGridTest, BandSelectsTheItemsItTouches) {
  Click(0);
  Band(EmptyMarginOf(1), harness.ImageCentre(6));
  EXPECT_EQ(harness.Selected(), (std::vector<int>{1, 2, 5, 6}));
  EXPECT_EQ(harness.grid->Current(), 6);
}

TEST_F(LocalGridTest, CtrlBandTogglesTheItemsItTouches) {
  Click(1);
  Band(EmptyMarginOf(1), harness.ImageCentre(3), Qt::ControlModifier);
  EXPECT_EQ(harness.Selected(), (std::vector<int>{2, 3}));
}

TEST_F(LocalGridTest, ShiftDownFirstSelectsABlock) {
  Click(0);
  PressShift();
  Key(Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(harness.Selected(), (std::vector<int>{0, 4}));
  Key(Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(harness.Selected(), (std::vector<int>{0, 1, 4, 5}));
}

TEST_F(LocalGridTest, ShiftRightFirstSelectsALinearRange) {
  Click(0);
  PressShift();
  Key(Qt::Key_Right, Qt::ShiftModifier);
  Key(Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(harness.Selected(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(harness.grid->Current(), 5);
  Key(Qt::Key_Left);  // without Shift: the anchor goes, one item is selected
  EXPECT_EQ(harness.Selected(), (std::vector<int>{4}));
}

TEST_F(LocalGridTest, ShiftArrowAfterSplitStartsAtTheCurrentIcon) {
  // An earlier Shift selection leaves no anchor behind once Shift is let go.
  Click(1);
  PressShift();
  Key(Qt::Key_Right, Qt::ShiftModifier);
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
  QApplication::sendEvent(harness.grid.get(), &release);
  harness.lib->Items().Icons(5)->Images().TakeAll(*SolidIcon(16, 16, 32, 0xFF));
  Click(5);
  harness.lib->SplitIcons();
  ASSERT_EQ(harness.lib->Count(), 13);
  // The Shift press went to the menu that ran Split: the grid sees only Shift+Right.
  Key(Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(harness.Selected(), (std::vector<int>{5, 6}));
  Key(Qt::Key_Left);
  Key(Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(harness.Selected(), (std::vector<int>{5, 6}));
}

TEST_F(LocalGridTest, KeysMoveTheCursor) {
  Click(5);
  Key(Qt::Key_Up);
  EXPECT_EQ(harness.grid->Current(), 1);
  Key(Qt::Key_Up);  // no row above: nothing moves
  EXPECT_EQ(harness.grid->Current(), 1);
  Key(Qt::Key_Tab);
  EXPECT_EQ(harness.grid->Current(), 2);
  Key(Qt::Key_End);
  EXPECT_EQ(harness.grid->Current(), 11);
  Key(Qt::Key_Home);
  EXPECT_EQ(harness.grid->Current(), 0);
  EXPECT_EQ(harness.Selected(), (std::vector<int>{0}));
}

TEST_F(LocalGridTest, PageDownStopsInTheSameColumnOfTheLastRow) {
  // 12 items in 4 columns and 3 rows; the window shows more rows than that.
  Click(1);
  Key(Qt::Key_PageDown);
  EXPECT_EQ(harness.grid->Current(), 9);
  Key(Qt::Key_PageUp);
  EXPECT_EQ(harness.grid->Current(), 1);
}

TEST_F(LocalGridTest, PageDownInAPartialLastRowEndsOnTheLastItem) {
  harness.lib->DeleteItem(11);
  harness.lib->DeleteItem(10);
  harness.grid->Relayout();
  Click(3);
  Key(Qt::Key_PageDown);
  EXPECT_EQ(harness.grid->Current(), 9);
}

TEST_F(LocalGridTest, DropMovesTheSelectionAndReportsIt) {
  int moved = 0;
  harness.grid->OnMoved = [&] { ++moved; };
  Click(0);
  Click(1, Qt::ControlModifier);
  harness.grid->DropSelectionOn(3);
  std::vector<std::string> names = harness.Names();
  EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 4),
            (std::vector<std::string>{"Icon 2", "Icon 3", "Icon 0", "Icon 1"}));
  EXPECT_EQ(harness.grid->Current(), 3);
  EXPECT_EQ(moved, 1);
}

TEST_F(LocalGridTest, DropKeepsTheSourceEntriesWithTheirItems) {
  harness.lib->RecordSources("/icons/a.icl", 0);  // positions 0..11
  Click(11);
  harness.grid->DropSelectionOn(0);
  EXPECT_EQ(harness.lib->Items().Names(0), "Icon 11");
  EXPECT_EQ(harness.lib->Items().Source(0).position, 11);
  EXPECT_EQ(harness.lib->Items().Source(1).position, 0);
  EXPECT_EQ(harness.lib->SourceOf(0), "/icons/a.icl");
}

TEST_F(LocalGridTest, DoubleClickAndEnterOpenTheProperties) {
  int opened = 0;
  harness.grid->OnOpenProperties = [&] { ++opened; };
  Click(2);
  Click(2);  // a second press on the same item soon after the first
  EXPECT_EQ(harness.Selected(), (std::vector<int>{2}));
  EXPECT_EQ(opened, 1);
  Key(Qt::Key_Return);
  EXPECT_EQ(opened, 2);
}

TEST_F(LocalGridTest, RightClickSelectsAnUnselectedItemOnly) {
  Click(0);
  Click(1, Qt::ControlModifier);
  QTest::mouseClick(harness.grid->viewport(), Qt::RightButton, Qt::NoModifier,
                    harness.ImageCentre(1));
  EXPECT_EQ(harness.Selected(), (std::vector<int>{0, 1}));
  QTest::mouseClick(harness.grid->viewport(), Qt::RightButton, Qt::NoModifier,
                    harness.ImageCentre(7));
  EXPECT_EQ(harness.Selected(), (std::vector<int>{7}));
}

TEST_F(LocalGridTest, ClicksPastTheLastItemHitNothing) {
  harness.lib->DeleteItem(11);
  harness.grid->Relayout();
  EXPECT_EQ(harness.grid->HitTest(harness.ImageCentre(11)), -1);
  EXPECT_EQ(harness.grid->HitTest(harness.ImageCentre(10)), 10);
}

TEST_F(LocalGridTest, ViewSettingsAreStoredAndResetToTheirDefaults) {
  harness.grid->SetSizeMode(16);
  harness.grid->SetExactFormats(true);
  harness.grid->SetKeepProportions(false);
  EXPECT_EQ(harness.settings.grIconSize, 16);
  EXPECT_EQ(harness.grid->GridLayout().imageWidth, 16);
  harness.grid->ResetViewSettings();
  EXPECT_EQ(harness.settings.grIconSize, 48);
  EXPECT_EQ(harness.settings.grIconBPP, 32);
  EXPECT_TRUE(harness.settings.grCaption);
  EXPECT_TRUE(harness.settings.grFormats);
  EXPECT_FALSE(harness.settings.grExactView);
  EXPECT_TRUE(harness.settings.grPropView);
  EXPECT_FALSE(harness.settings.grEnlarge);
}

}  // namespace
}  // namespace varnel::test
