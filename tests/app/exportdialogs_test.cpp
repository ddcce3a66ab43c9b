// The file dialogs' preview panel, the icon properties dialog and the single-image export
// dialog, on the offscreen platform.

#include <gtest/gtest.h>

#include <QLabel>
#include <QSpinBox>
#include <QTest>
#include <filesystem>

#include "app/exportsingledialog.h"
#include "app/icodrawgrid.h"
#include "app/icofiledialog.h"
#include "app/iconpropertiesdialog.h"
#include "app/icopreviewpanel.h"
#include "appcore/settings.h"
#include "apptestsupport.h"
#include "collection/fmlib.h"
#include "collection/iconsavefile.h"
#include "platform/clipboard.h"
#include "resources/iconlistholder.h"
#include "support/corpus.h"

namespace varnel::test {
namespace {

constexpr char kStub[] = "/usr/share/nsis/Stubs/zlib-x86-ansi";

// Shows a file in the panel and waits for its preview.
void ShowAndWait(TIcoPreviewPanel& panel, const std::string& path) {
  panel.ShowFile(QString::fromStdString(path));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !panel.Pending(); }, 20000));
  panel.ShowFinished();
}

TEST(IcoPreviewPanel, DescriptionsByKindAndTheGridOfModules) {
  TestApplication();
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico", "ico/gtk.ico");
  TOpenIcoDialog dialog;
  TIcoPreviewPanel& panel = *dialog.Panel();
  ShowAndWait(panel, CorpusPath("ico/python.ico"));
  EXPECT_EQ(panel.Description(), "ICO, formats: 3");
  EXPECT_TRUE(panel.PreviewEnabled());
  EXPECT_FALSE(panel.GridShown());
  EXPECT_FALSE(panel.PictureLabel()->pixmap().isNull());

  ShowAndWait(panel, CorpusPath("ico/gtk.ico") + ".missing");
  EXPECT_EQ(panel.Description(), "Picture");
  EXPECT_FALSE(panel.PreviewEnabled());

  if (!std::filesystem::exists(kStub)) GTEST_SKIP() << "nsis is not installed";
  ShowAndWait(panel, kStub);
  EXPECT_TRUE(panel.Description().startsWith("Icons: "));
  EXPECT_TRUE(panel.GridShown());
  EXPECT_FALSE(panel.PreviewEnabled());
  EXPECT_EQ(panel.SelectedIndex(), 0);
}

TEST(IcoPreviewPanel, OnlyTheNewestPreviewIsShownAndCellsAreMadeWhenDrawn) {
  TestApplication();
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico", "ico/gtk.ico");
  TempDir dir;
  GridHarness harness;
  harness.AddItems(300);
  harness.lib->WriteCollectionFile(dir.File("many.icc"));
  TIcoPreviewPanel panel;
  panel.resize(200, 200);
  panel.show();
  panel.ShowFile(QString::fromStdString(dir.File("many.icc")));
  panel.ShowFile(QString::fromStdString(CorpusPath("ico/gtk.ico")));
  ShowAndWait(panel, CorpusPath("ico/python.ico"));
  EXPECT_EQ(panel.Description(), "ICO, formats: 3");

  panel.SetPickIndex(250);
  ShowAndWait(panel, dir.File("many.icc"));
  EXPECT_EQ(panel.Description(), "Icons: 300");
  EXPECT_EQ(panel.SelectedIndex(), 250);
  panel.Grid()->viewport()->repaint();
  EXPECT_GT(panel.Grid()->PicturesMade(), 0);
  EXPECT_LT(panel.Grid()->PicturesMade(), 300);
  panel.Grid()->SetCurrent(400);  // past the last icon: not selectable
  EXPECT_EQ(panel.SelectedIndex(), 250);
}

TEST(IconPropertiesDialog, DeletedSourceAndTheImageChooser) {
  TestApplication();
  FakeUserInterface ui;
  TSettings settings;
  MemoryClipboard clipboard;
  TIconSaveDialog saveDialog;
  auto icon = SolidIcon(16, 16, 32, RGB(1, 2, 3));
  icon->Images().Add(SolidIcon(32, 32, 24, RGB(4, 5, 6))->Images().Extract(0));
  icon->Images().Add(SolidIcon(48, 48, 24, RGB(7, 8, 9))->Images().Extract(0));
  TfmIconProps dialog({ui, settings, clipboard, saveDialog}, *icon,
                      TIconProperties::Of(*icon, " Disk ", "/nowhere/gone.dll", 4));
  EXPECT_EQ(dialog.windowTitle(), "Icon Properties");
  EXPECT_EQ(dialog.Field("format")->text(), "3 images");
  EXPECT_EQ(dialog.Field("sourceFileSize")->text(), "Not found");
  EXPECT_EQ(dialog.Field("totalIcons")->text(), "");
  EXPECT_EQ(dialog.Field("iconIndex")->text(), "4");
  EXPECT_EQ(dialog.ImageLabel()->text(), "Image 1 of 3");
  dialog.ChooseImage(2);
  EXPECT_EQ(dialog.ImageLabel()->text(), "Image 3 of 3");
  // Copy image: a one-item icon list under the trimmed name, and the picture.
  clipboard.SetFormat("stale", {1});
  dialog.CopyImage();
  EXPECT_FALSE(clipboard.HasFormat("stale"));
  auto block = clipboard.GetFormat(kComponentClipboardFormat);
  ASSERT_TRUE(block);
  TIconListHolder holder;
  MemoryStream stream(std::move(*block));
  holder.ReadProperties(stream);
  ASSERT_EQ(holder.IconList().Count(), 1);
  EXPECT_EQ(holder.IconList().Names(0), "Disk");
  ASSERT_EQ(holder.IconList().Icons(0)->Images().Count(), 1);
  EXPECT_EQ(holder.IconList().Icons(0)->Images()[0]->ImageWidth(), 48);
  ASSERT_TRUE(clipboard.GetBitmap());
  EXPECT_EQ(clipboard.GetBitmap()->GetPixel(5, 5), RGB(7, 8, 9));

  // Save image proposes the trimmed name in the dialog's last folder.
  saveDialog.fileName = "/icons/last";
  dialog.SaveImage();
  ASSERT_EQ(ui.fileRequests.size(), 1u);
  EXPECT_EQ(ui.fileRequests[0].fileName, "/icons/Disk");
}

TEST(ExportSingleDialog, RangesDefaultsAndTheFormatButtons) {
  TestApplication();
  TfmExportSingle dialog;
  EXPECT_EQ(dialog.windowTitle(), "Export Single Image");
  EXPECT_EQ(dialog.Spin("CW")->maximum(), 256);
  EXPECT_EQ(dialog.Spin("CC")->maximum(), 300);
  EXPECT_EQ(dialog.Spin("GH")->maximum(), 50);
  EXPECT_EQ(dialog.Spin("ML")->maximum(), 100);
  TExportSingleChoice choice;
  choice.settings.CW = 48;
  choice.settings.ML = 7;
  choice.settings.Dir = "/sheets/";
  choice.itemBpp = 8;
  dialog.SetChoice(choice);
  EXPECT_EQ(dialog.Choice().itemBpp, 24);
  EXPECT_EQ(dialog.Choice().settings.CW, 48);
  dialog.ResetToDefaults();
  TExportSingleChoice reset = dialog.Choice();
  EXPECT_EQ(reset.settings.CW, 32);
  EXPECT_EQ(reset.settings.ML, 0);
  EXPECT_EQ(reset.settings.CR, 15);
  EXPECT_EQ(reset.settings.Dir, "/sheets/");
}

}  // namespace
}  // namespace varnel::test
