// The image panel beside the grid and the find dialog.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/finddialog.h"
#include "app/imagepanel.h"
#include "apptestsupport.h"
#include "icons/advancedicon.h"

namespace varnel::test {
namespace {

TEST(ImagePanel, OneRowPerImageAndTheSelectedRowStaysForTheSameIcon) {
  TestApplication();
  auto icon = SolidIcon(16, 16, 32, 0xFF);
  icon->Images().AddFromBitmap(TBitmap(32, 32, PixelFormat::Bits24), nullptr, 0);
  icon->Images().AddFromBitmap(TBitmap(48, 48, PixelFormat::Bits24), nullptr, 0);
  TImagePanel panel;
  panel.ShowIcon(icon.get());
  EXPECT_EQ(panel.count(), 3);
  EXPECT_EQ(panel.currentRow(), 0);
  panel.setCurrentRow(2);
  panel.ShowIcon(icon.get());  // refreshed
  EXPECT_EQ(panel.currentRow(), 2);
  EXPECT_EQ(panel.SelectedImage(), icon->Images()[2]);
  auto other = SolidIcon(16, 16, 32, 0xFF);
  panel.ShowIcon(other.get());  // a new icon starts on its first row
  EXPECT_EQ(panel.currentRow(), 0);
  panel.ShowIcon(nullptr);
  EXPECT_EQ(panel.count(), 0);
  EXPECT_EQ(panel.SelectedImage(), nullptr);
}

TEST(ImagePanel, PackedImagesSayIt) {
  TestApplication();
  auto small = SolidIcon(32, 32, 32, 0xFF);
  auto large = SolidIcon(64, 64, 32, 0xFF);
  small->Images()[0]->SetPacked(true);
  large->Images()[0]->SetPacked(true);
  EXPECT_TRUE(ImageRowText(*small->Images()[0]).endsWith(", packed"));
  EXPECT_TRUE(ImageRowText(*large->Images()[0]).endsWith("\npacked"));
  EXPECT_TRUE(ImageRowText(*large->Images()[0]).startsWith("64x64\n"));
}

TEST(FindDialog, FindNextHandsOnTheTextAndOptions) {
  TestApplication();
  TFindDialog dialog;
  dialog.SetMode(TFindMode::Source);
  EXPECT_EQ(dialog.windowTitle(), "Locate icon by source name");
  std::vector<TFindOptions> asked;
  dialog.OnFindNext = [&](const TFindOptions& options) { asked.push_back(options); };
  dialog.TextField()->setText("shell");
  dialog.FindNextButton()->click();
  dialog.FindNextButton()->click();
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0].text, "shell");
  EXPECT_EQ(asked[0].mode, TFindMode::Source);
  EXPECT_FALSE(asked[0].matchCase);
}

TEST(FindDialog, DrivesTheCollectionsSearch) {
  GridHarness harness;
  harness.AddItems(5);
  TFindDialog dialog;
  dialog.OnFindNext = [&](const TFindOptions& options) { harness.lib->FindNext(options); };
  dialog.TextField()->setText("Icon 3");
  dialog.FindNextButton()->click();
  EXPECT_EQ(harness.grid->Current(), 3);
}

TEST(GridCaptions, ClickOnTheCaptionSelectsAndBesideItDoesNot) {
  GridHarness harness;
  harness.settings.grCaption = true;
  harness.AddItems(8);
  harness.ShowWithColumns(3);
  const TGridLayout& layout = harness.grid->GridLayout();
  QRect cell = harness.grid->CellRect(4);
  QPoint caption = cell.topLeft() + QPoint(layout.columnWidth / 2, layout.imageHeight + 8);
  EXPECT_EQ(harness.grid->HitTest(caption), 4);
  QPoint besideCaption = cell.topLeft() + QPoint(1, layout.imageHeight + 8);
  EXPECT_EQ(harness.grid->HitTest(besideCaption), -1);
  EXPECT_GE(layout.columnWidth, 12 * QFontMetrics(harness.grid->font()).horizontalAdvance("S"));
}

}  // namespace
}  // namespace varnel::test
