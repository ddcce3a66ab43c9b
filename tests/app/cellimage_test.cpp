// What a cell shows: the image chosen for its size and depth, fitted into the image area, and
// the caption wrapped onto two lines.

#include <gtest/gtest.h>

#include <QFont>

#include "app/cellimage.h"
#include "app/textlines.h"
#include "apptestsupport.h"
#include "icons/advancedicon.h"

namespace varnel::test {
namespace {

constexpr TColor kRed = RGB(0xFF, 0, 0);
constexpr TColor kBackground = RGB(0xFF, 0xFF, 0xFF);

TCellImageOptions Options(int side) {
  TCellImageOptions options;
  options.area = QSize(side, side);
  options.background = kBackground;
  return options;
}

bool IsRed(const QImage& image, int x, int y) {
  return image.pixel(x, y) == qRgb(0xFF, 0, 0);
}
bool IsBackground(const QImage& image, int x, int y) {
  return image.pixel(x, y) == qRgb(0xFF, 0xFF, 0xFF);
}

TEST(CellImage, LargeImageShrinksIntoTheArea) {
  TestApplication();
  auto icon = SolidIcon(128, 128, 32, kRed);
  const TSubIcon* image = ChooseCellImage(*icon, QSize(48, 48), 32, false);
  ASSERT_NE(image, nullptr);
  QImage cell = RenderCellImage(*image, Options(48));
  ASSERT_EQ(cell.size(), QSize(48, 48));
  EXPECT_TRUE(IsRed(cell, 0, 0));
  EXPECT_TRUE(IsRed(cell, 47, 47));
}

TEST(CellImage, WithoutProportionsAWideImageIsStretchedToTheArea) {
  TestApplication();
  auto icon = SolidIcon(64, 32, 24, kRed);
  TCellImageOptions options = Options(48);
  options.keepProportions = false;
  QImage stretched = RenderCellImage(*icon->Images()[0], options);
  EXPECT_TRUE(IsRed(stretched, 24, 1));
  EXPECT_TRUE(IsRed(stretched, 24, 46));
  options.keepProportions = true;
  QImage fitted = RenderCellImage(*icon->Images()[0], options);
  EXPECT_TRUE(IsBackground(fitted, 24, 1));  // 48 x 24, centred
  EXPECT_TRUE(IsRed(fitted, 24, 24));
}

TEST(CellImage, SmallImagesStayOrGrowByAWholeFactor) {
  TestApplication();
  auto icon = SolidIcon(16, 16, 24, kRed);
  TCellImageOptions options = Options(48);
  QImage natural = RenderCellImage(*icon->Images()[0], options);
  EXPECT_TRUE(IsBackground(natural, 2, 2));
  EXPECT_TRUE(IsRed(natural, 24, 24));
  options.enlargeSmall = true;
  QImage enlarged = RenderCellImage(*icon->Images()[0], options);
  EXPECT_TRUE(IsRed(enlarged, 0, 0));
  EXPECT_TRUE(IsRed(enlarged, 47, 47));
}

TEST(CellImage, ExactFormatsFindOnlyTheWantedSizeAndDepth) {
  TestApplication();
  auto icon = SolidIcon(48, 48, 32, kRed);
  EXPECT_EQ(ChooseCellImage(*icon, QSize(48, 48), 4, true), nullptr);
  EXPECT_EQ(ChooseCellImage(*icon, QSize(32, 32), 32, true), nullptr);
  EXPECT_NE(ChooseCellImage(*icon, QSize(48, 48), 32, true), nullptr);
  EXPECT_NE(ChooseCellImage(*icon, QSize(48, 48), 4, false), nullptr);
}

TEST(CellImage, TheImageNearestTheAreaIsChosen) {
  TestApplication();
  auto icon = SolidIcon(16, 16, 32, kRed);
  icon->Images().AddFromBitmap(TBitmap(48, 48, PixelFormat::Bits24), nullptr, 0);
  icon->Images().AddFromBitmap(TBitmap(32, 32, PixelFormat::Bits24), nullptr, 0);
  EXPECT_EQ(ChooseCellImage(*icon, QSize(32, 32), 32, false)->ImageWidth(), 32);
  EXPECT_EQ(ChooseCellImage(*icon, QSize(40, 40), 32, false)->ImageWidth(), 48);
  EXPECT_EQ(ChooseCellImage(*icon, QSize(16, 16), 32, false)->ImageWidth(), 16);
}

TEST(CellImage, AnIconWithoutImagesShowsNothing) {
  TAdvancedIcon empty;
  EXPECT_EQ(ChooseCellImage(empty, QSize(48, 48), 32, false), nullptr);
}

TEST(CaptionLines, LongNamesWrapOntoTwoLinesEndingInAnEllipsis) {
  TestApplication();
  QFont font;
  QStringList lines =
      WrapLines("a very long icon name that cannot possibly fit into two short lines", font, 80, 2);
  ASSERT_EQ(lines.size(), 2);
  EXPECT_TRUE(lines[1].endsWith(QChar(0x2026)));
  EXPECT_LE(QFontMetrics(font).horizontalAdvance(lines[0]), 80);
}

TEST(CaptionLines, ShortNamesStayOnOneLine) {
  TestApplication();
  QStringList lines = WrapLines("short", QFont(), 200, 2);
  EXPECT_EQ(lines, QStringList{"short"});
  EXPECT_TRUE(WrapLines("", QFont(), 200, 2).isEmpty());
}

TEST(CaptionLines, LinesBreakBetweenWordsOnly) {
  TestApplication();
  QFont font;
  QFontMetrics metrics(font);
  QString name = "computer sizes";
  int width = metrics.horizontalAdvance("computer siz");  // "sizes" does not fit beside it
  EXPECT_EQ(WrapLines(name, font, width, 2), (QStringList{"computer", "sizes"}));
}

TEST(CaptionLines, AWordLongerThanTheLineIsElidedNotSplit) {
  TestApplication();
  QFont font;
  // One long word: a single elided line, not its pieces on two lines.
  QStringList lines = WrapLines(QString(60, 'W'), font, 60, 2);
  ASSERT_EQ(lines.size(), 1);
  EXPECT_TRUE(lines[0].endsWith(QChar(0x2026)));
  EXPECT_LE(QFontMetrics(font).horizontalAdvance(lines[0]), 60);
  // A long first word is elided on its line; the next word still gets the second.
  lines = WrapLines(QString(60, 'W') + " icon", font, 60, 2);
  ASSERT_EQ(lines.size(), 2);
  EXPECT_TRUE(lines[0].endsWith(QChar(0x2026)));
  EXPECT_EQ(lines[1], "icon");
}

}  // namespace
}  // namespace varnel::test
