// Painting stays limited to the visible cells however large the collection is, rendered cells
// are reused, and a growing collection does not lay the grid out per item.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QScrollBar>
#include <QTest>
#include <iostream>

#include "apptestsupport.h"

namespace varnel::test {
namespace {

constexpr int kLargeCollection = 50000;

class GridPaintTest : public testing::Test {
 protected:
  void SetUp() override {
    harness.settings.grCaption = true;
    harness.AddItems(kLargeCollection);
    harness.grid->resize(800, 600);
    harness.grid->show();
    harness.grid->Relayout();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(harness.grid.get()));
  }
  // The most cells a viewport can show: its rows, one more partly visible, times the columns.
  int VisibleCellLimit() const {
    const TGridLayout& layout = harness.grid->GridLayout();
    return (harness.grid->viewport()->height() / layout.rowHeight + 2) * layout.columns;
  }

  GridHarness harness;
};

TEST_F(GridPaintTest, OnlyVisibleCellsArePaintedAndRendered) {
  int64_t paintedBefore = harness.grid->PaintedCells();
  harness.grid->viewport()->repaint();
  int64_t painted = harness.grid->PaintedCells() - paintedBefore;
  int64_t rendered = harness.grid->RenderedImages();  // every one since the window showed
  EXPECT_GT(painted, 0);
  EXPECT_LE(painted, VisibleCellLimit());
  EXPECT_LE(rendered, VisibleCellLimit());
  std::cout << "[ measure  ] " << kLargeCollection << " icons: " << painted << " cells painted, "
            << rendered << " images rendered\n";
}

TEST_F(GridPaintTest, RepaintingReusesTheRenderedCells) {
  harness.grid->viewport()->repaint();
  int64_t rendered = harness.grid->RenderedImages();
  ASSERT_GT(rendered, 0);
  harness.grid->viewport()->repaint();
  harness.lib->SelectOnly(3);
  harness.grid->viewport()->repaint();
  EXPECT_EQ(harness.grid->RenderedImages(), rendered);
}

TEST_F(GridPaintTest, ScrollingAPageRendersOnlyTheNewPage) {
  harness.grid->viewport()->repaint();
  QScrollBar* bar = harness.grid->verticalScrollBar();
  QElapsedTimer timer;
  timer.start();
  int64_t before = harness.grid->RenderedImages();
  bar->setValue(bar->value() + bar->pageStep());
  harness.grid->viewport()->repaint();
  double firstVisit = timer.nsecsElapsed() / 1e6;
  bar->setValue(bar->value() - bar->pageStep());
  timer.restart();
  harness.grid->viewport()->repaint();
  double cachedVisit = timer.nsecsElapsed() / 1e6;
  EXPECT_GT(harness.grid->RenderedImages() - before, 0);
  EXPECT_LE(harness.grid->RenderedImages() - before, VisibleCellLimit());
  std::cout << "[ measure  ] page scroll: " << firstVisit << " ms rendering a new page, "
            << cachedVisit << " ms back to a cached one\n";
  EXPECT_LT(firstVisit, 500.0);  // generous for a loaded machine; typically a few ms
}

TEST_F(GridPaintTest, TheLastPageIsReachable) {
  QScrollBar* bar = harness.grid->verticalScrollBar();
  bar->setValue(bar->maximum());
  harness.grid->viewport()->repaint();
  QPoint last = harness.ImageCentre(kLargeCollection - 1);
  EXPECT_TRUE(harness.grid->viewport()->rect().contains(last));
  EXPECT_EQ(harness.grid->HitTest(last), kLargeCollection - 1);
}

TEST_F(GridPaintTest, LargeCellsKeepTheRenderedCellsWithinAFewScreensOfMemory) {
  harness.grid->SetSizeMode(256);  // 256 KiB an image area
  QScrollBar* bar = harness.grid->verticalScrollBar();
  for (int page = 0; page < 150; ++page) {
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    harness.grid->viewport()->repaint();
  }
  ASSERT_GT(harness.grid->RenderedImages(), 500);
  EXPECT_LE(harness.grid->CachedImageKb(), 32 * 1024);
  EXPECT_GE(harness.grid->CachedImages(), 4 * VisibleCellLimit() / 2);
}

TEST(GridPlaceholder, IconsWithoutAFittingImageShowTheIcoNoColour) {
  GridHarness harness;
  harness.AddItems(3);  // 16 x 16, 24 bits
  harness.ShowWithColumns(3);
  harness.grid->SetSizeMode(16);
  harness.grid->SetDepthFilter(4);
  harness.grid->SetExactFormats(true);
  QImage shown = harness.grid->viewport()->grab().toImage();
  QPoint centre = harness.ImageCentre(1);
  EXPECT_EQ(QColor(shown.pixel(centre)),
            QColor(GetRValue(harness.settings.IcoNo), GetGValue(harness.settings.IcoNo),
                   GetBValue(harness.settings.IcoNo)));
  harness.grid->SetDepthFilter(32);  // without exact formats any image will do
  harness.grid->SetExactFormats(false);
  shown = harness.grid->viewport()->grab().toImage();
  EXPECT_EQ(QColor(shown.pixel(centre)), QColor(0x20, 0x60, 0xA0));
}

TEST(GridGrowth, ASearchAddingItemsGrowsRowsInStepsWithoutRelayout) {
  GridHarness harness;
  harness.AddItems(10);
  harness.ShowWithColumns(4, 200);
  harness.grid->viewport()->repaint();
  int64_t rendered = harness.grid->RenderedImages();
  harness.grid->SetLayoutLocked(true);
  int shown = harness.lib->Count();
  for (int i = 0; i < 100; ++i) {
    harness.lib->AppendItem("found", CopyIcon(*harness.lib->Items().Icons(0)));
    harness.grid->GrowGrid(shown);
    shown = harness.lib->Count();
  }
  QScrollBar* bar = harness.grid->verticalScrollBar();
  int needed = (110 + 3) / 4;
  int visible = harness.grid->VisibleRows();
  // Rows reach 50 beyond what is needed, so the scroll range does too.
  EXPECT_GE(bar->maximum() + visible, needed);
  EXPECT_EQ(harness.grid->Current(), 109);              // the view followed the newest item
  EXPECT_GE(harness.grid->RenderedImages(), rendered);  // the cache was kept
  harness.grid->SetLayoutLocked(false);
  EXPECT_EQ(bar->maximum(), std::max(0, needed - visible));
}

}  // namespace
}  // namespace varnel::test
