// The grid's geometry and the moves of dropped items, without a window.

#include <gtest/gtest.h>

#include "app/gridlayout.h"
#include "app/gridreorder.h"

namespace varnel {
namespace {

TGridLayoutInput Input(int sizeMode, int controlWidth) {
  TGridLayoutInput input;
  input.sizeMode = sizeMode;
  input.showCaptions = false;
  input.controlWidth = controlWidth;
  input.scrollBarWidth = 16;
  input.itemCount = 10;
  return input;
}

TEST(GridLayout, NarrowWindowStillHasTwoColumns) {
  TGridLayout layout = ComputeGridLayout(Input(48, 30));
  EXPECT_EQ(layout.columns, 2);
  EXPECT_EQ(layout.rows, 5);
}

TEST(GridLayout, ColumnsFillTheWidthLeftBesideTheScrollBar) {
  // Column width 48 + 2 x 2 = 52; (16 + 4 + 4 x 52) fits exactly four.
  EXPECT_EQ(ComputeGridLayout(Input(48, 16 + 4 + 4 * 52)).columns, 4);
  EXPECT_EQ(ComputeGridLayout(Input(48, 16 + 4 + 4 * 52 - 1)).columns, 3);
}

TEST(GridLayout, SystemSizesPutTheLargeAndSmallImagesSideBySide) {
  TGridLayoutInput input = Input(kSizeModeSystem, 800);
  input.largeIconSize = 32;
  input.smallIconSize = 16;
  TGridLayout layout = ComputeGridLayout(input);
  EXPECT_EQ(layout.imageWidth, 50);
  EXPECT_EQ(layout.imageHeight, 32);
}

TEST(GridLayout, CustomSizeAndTextRows) {
  TGridLayoutInput input = Input(kSizeModeCustom, 800);
  input.customWidth = 20;
  input.customHeight = 70;
  input.showCaptions = true;
  input.showFormats = true;
  input.letterWidth = 8;
  input.textHeight = 15;
  TGridLayout layout = ComputeGridLayout(input);
  EXPECT_EQ(layout.columnWidth, 12 * 8);  // text needs more than the image
  EXPECT_EQ(layout.imageLeft, (96 - 20) / 2);
  EXPECT_EQ(layout.captionHeight, 30);
  EXPECT_EQ(layout.formatHeight, 15);
  EXPECT_EQ(layout.rowHeight, 70 + 4 + 30 + 15 + 2);
}

TEST(GridLayout, EmptyCollectionHasNoRows) {
  TGridLayoutInput input = Input(16, 800);
  input.itemCount = 0;
  EXPECT_EQ(ComputeGridLayout(input).rows, 0);
}

std::vector<int> Drop(std::vector<bool> selected, int target) {
  return PlanDrop(selected, target).order;
}

TEST(DropPlan, BlockDroppedOnAnItemAfterItEndsRightAfterIt) {
  // [A, B, C, D]: A and B onto D give [C, D, A, B].
  EXPECT_EQ(Drop({true, true, false, false}, 3), (std::vector<int>{2, 3, 0, 1}));
  // [A, B, C, D, E]: B onto D gives [A, C, D, B, E].
  TDropPlan plan = PlanDrop({false, true, false, false, false}, 3);
  EXPECT_EQ(plan.order, (std::vector<int>{0, 2, 3, 1, 4}));
  EXPECT_EQ(plan.lastMoved, 3);
}

TEST(DropPlan, ItemDroppedOnAnItemBeforeItEndsRightBeforeIt) {
  // [A, B, C, D]: D onto B gives [A, D, B, C].
  TDropPlan plan = PlanDrop({false, false, false, true}, 1);
  EXPECT_EQ(plan.order, (std::vector<int>{0, 3, 1, 2}));
  EXPECT_EQ(plan.lastMoved, 1);
}

TEST(DropPlan, NoTargetMeansTheLastItem) {
  EXPECT_EQ(Drop({true, false, false}, -1), (std::vector<int>{1, 2, 0}));
  EXPECT_EQ(Drop({true, false, false}, 7), (std::vector<int>{1, 2, 0}));
}

TEST(DropPlan, NothingMovesWithoutSelectionOrWithOneItem) {
  EXPECT_TRUE(Drop({false, false, false}, 1).empty());
  EXPECT_TRUE(Drop({true}, 0).empty());
}

TEST(DropPlan, ScatteredSelectionKeepsItsOrder) {
  // [A, B, C, D, E, F]: A, C and E onto F.
  EXPECT_EQ(Drop({true, false, true, false, true, false}, 5), (std::vector<int>{1, 3, 5, 0, 2, 4}));
}

}  // namespace
}  // namespace varnel
