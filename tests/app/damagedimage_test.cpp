// An icon whose image data is damaged shows the placeholder where it cannot be drawn, in the
// grid and in the image panel, and painting goes on.

#include <gtest/gtest.h>

#include <QTest>

#include "app/imagepanel.h"
#include "app/qtbitmap.h"
#include "apptestsupport.h"
#include "icons/advancedicon.h"

namespace varnel::test {
namespace {

// A 32-pixel icon whose DIB header claims the given width.
std::unique_ptr<TAdvancedIcon> IconClaimingWidth(uint32_t width) {
  auto icon = SolidIcon(32, 32, 32, RGB(0x20, 0x60, 0xA0));
  std::vector<uint8_t> data = icon->Images()[0]->Data().ToVector();
  for (int i = 0; i < 4; ++i) data[size_t(4 + i)] = uint8_t(width >> (8 * i));
  icon->Images()[0]->SetData(std::move(data));
  return icon;
}

class DamagedImageTest : public testing::TestWithParam<uint32_t> {};

TEST_P(DamagedImageTest, TheGridPaintsThePlaceholderAndGoesOn) {
  GridHarness harness;
  harness.settings.grIconSize = 48;
  harness.settings.grCaption = true;
  harness.settings.grFormats = true;  // the format line reads the damaged header too
  harness.lib->AppendItem("damaged", IconClaimingWidth(GetParam()));
  harness.AddItems(1);  // a sound icon after it is still drawn
  harness.ShowWithColumns(2);
  QImage shot;
  EXPECT_NO_THROW(shot = harness.grid->viewport()->grab().toImage());
  QPoint damaged = harness.ImageCentre(0), sound = harness.ImageCentre(1);
  EXPECT_EQ(QColor(shot.pixel(damaged)), ToQColor(harness.settings.IcoNo));
  EXPECT_EQ(QColor(shot.pixel(sound)), QColor(0x20, 0x60, 0xA0));
}

TEST_P(DamagedImageTest, TheImagePanelShowsARowForIt) {
  TestApplication();
  auto icon = IconClaimingWidth(GetParam());
  TImagePanel panel;
  EXPECT_NO_THROW(panel.ShowIcon(icon.get()));
  EXPECT_EQ(panel.count(), 1);
  panel.show();
  EXPECT_NO_THROW(panel.grab());
}

INSTANTIATE_TEST_SUITE_P(Widths, DamagedImageTest,
                         testing::Values(0x7FFFFFFFu, 0x80000000u, uint32_t(-32)));

}  // namespace
}  // namespace varnel::test
