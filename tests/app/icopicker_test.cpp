// The open dialog as the icon picker, where it starts, and the preview grid of collections and
// modules, on the offscreen platform.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "app/icodrawgrid.h"
#include "app/icofiledialog.h"
#include "app/icopreviewpanel.h"
#include "app/qtuserinterface.h"
#include "apptestsupport.h"
#include "base/fileio.h"
#include "collection/fileimport.h"
#include "platform/inifile.h"
#include "support/corpus.h"

namespace varnel::test {
namespace {

constexpr char kStub[] = "/usr/share/nsis/Stubs/zlib-x86-ansi";

// The picker without its modal loop: "showing" waits until the preview of the preset file is
// shown, then confirms or cancels.
class ScriptedPicker : public TOpenIcoDialog {
 public:
  bool confirm = true;
  int startCell = -2;  // the grid's current cell when the preview showed

 protected:
  int RunModal() override {
    if (!QTest::qWaitFor([this] { return !Panel()->Pending(); }, 20000)) return QDialog::Rejected;
    Panel()->ShowFinished();
    startCell = Panel()->Grid()->Current();
    return confirm ? QDialog::Accepted : QDialog::Rejected;
  }
};

std::string WriteCollection(TempDir& dir, int count) {
  GridHarness harness;
  harness.AddItems(count);
  std::string path = dir.File("items" + std::to_string(count) + ".icc");
  harness.lib->WriteCollectionFile(path);
  return path;
}

TEST(IconPicker, StartsAtItsIndexAndGivesNoCellForAnUnknownIndexOrName) {
  TestApplication();
  TempDir dir;
  std::string three = WriteCollection(dir, 3);
  ScriptedPicker picker;
  picker.selectFile(QString::fromStdString(three));
  EXPECT_TRUE(picker.ExecuteWithIcon(2));
  EXPECT_EQ(picker.startCell, 2);
  EXPECT_EQ(picker.SelectedIndex(), 2);

  // A cell past the last icon: -1.
  picker.selectFile(QString::fromStdString(three));
  EXPECT_TRUE(picker.ExecuteWithIcon(5));
  EXPECT_EQ(picker.SelectedIndex(), -1);
  // A resource name that no collection item has: -1.
  picker.selectFile(QString::fromStdString(three));
  picker.ExecuteWithIcon(-7);
  EXPECT_EQ(picker.SelectedIndex(), -1);

  // Plain Execute after the picker starts at the first cell again.
  picker.selectFile(QString::fromStdString(three));
  picker.confirm = false;
  EXPECT_FALSE(picker.Execute());
  EXPECT_EQ(picker.startCell, 0);
  EXPECT_FALSE(picker.Panel()->GridShown());  // released when the dialog closed
}

TEST(IconPicker, ACellChosenInsideTheRealModalLoopIsTheAnswer) {
  TestApplication();
  TempDir dir;
  std::string three = WriteCollection(dir, 3);
  TOpenIcoDialog picker;
  picker.selectFile(QString::fromStdString(three));
  int startCell = -2;
  // Runs inside exec(): waits for the preview, moves to another cell and presses Open.
  QTimer::singleShot(0, &picker, [&] {
    ASSERT_TRUE(QTest::qWaitFor([&] { return !picker.Panel()->Pending(); }, 20000));
    picker.Panel()->ShowFinished();
    startCell = picker.Panel()->Grid()->Current();
    picker.Panel()->Grid()->SetCurrent(0);
    QMetaObject::invokeMethod(&picker, "accept");  // the Open button
  });
  EXPECT_TRUE(picker.ExecuteWithIcon(2));
  EXPECT_EQ(startCell, 2);
  EXPECT_EQ(picker.SelectedIndex(), 0);
  EXPECT_EQ(picker.ChosenFiles(), QStringList{QString::fromStdString(three)});
}

TEST(IconPicker, TheProgramsOpenDialogAnswersWithTheFileInItsOwnFolder) {
  TestApplication();
  TempDir dir;
  std::string file = WriteCollection(dir, 1);
  TQtUserInterface ui;
  QTimer::singleShot(0, [] {
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }));
    QMetaObject::invokeMethod(QApplication::activeModalWidget(), "accept");
  });
  TFileDialogRequest request;
  request.title = "Open";
  request.fileName = file;
  auto answer = ui.ChooseFilesToOpen(request);
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->files, std::vector<std::string>{file});
}

TEST(IconPicker, NegativeIndicesNameTheModulesIconGroups) {
  TestApplication();
  if (!std::filesystem::exists(kStub)) GTEST_SKIP() << "nsis is not installed";
  FileContents contents = ReadFileContents(kStub, {});
  int numbered = -1;  // the last icon whose group has a number for its name
  for (size_t i = 0; i < contents.icons.size(); ++i)
    if (!contents.icons[i].name.empty() &&
        contents.icons[i].name.find_first_not_of("0123456789") == std::string::npos)
      numbered = int(i);
  if (numbered < 0) GTEST_SKIP() << "no numbered icon group";
  ScriptedPicker picker;
  picker.selectFile(kStub);
  picker.ExecuteWithIcon(-std::stoi(contents.icons[size_t(numbered)].name));
  EXPECT_EQ(picker.SelectedIndex(), numbered);
}

TEST(IconPicker, StartFilesFromTheSettings) {
  TestApplication();
  TempDir dir;
  std::string file = WriteCollection(dir, 1);
  TIniFile ini(dir.File("settings.ini"));
  ini.WriteString("Last", "Open", file);
  ini.WriteString("ExportSingle", "Dir", dir.File("gone/deeper/sheet.png"));

  TOpenIcoDialog open;
  open.LoadStartFile(ini, "Last", "Open");
  ASSERT_EQ(open.selectedFiles().size(), 1);
  EXPECT_EQ(open.selectedFiles()[0].toStdString(), file);

  // A name that no longer exists: its nearest existing folder.
  TOpenIcoDialog other;
  other.LoadStartFile(ini, "ExportSingle", "Dir");
  EXPECT_EQ(QDir(other.directory()).canonicalPath(),
            QDir(QString::fromStdString(dir.Path())).canonicalPath());
  // A save dialog keeps proposing the file name there.
  TSaveIcoDialog save;
  save.StartAt(dir.File("gone/name.ico"));
  ASSERT_EQ(save.selectedFiles().size(), 1);
  EXPECT_EQ(std::filesystem::path(save.selectedFiles()[0].toStdString()).filename(), "name.ico");
}

TEST(IcoDrawGrid, CollectionCellsAreReadWhenDrawnAndManyIconsAreNotKept) {
  TestApplication();
  TempDir dir;
  TIcoPreviewPanel panel;
  panel.resize(200, 200);
  panel.show();
  auto show = [&](const std::string& path) {
    panel.ShowFile(QString::fromStdString(path));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panel.Pending(); }, 20000));
    panel.ShowFinished();
  };
  show(WriteCollection(dir, 300));
  TIcoDrawGrid& grid = *panel.Grid();
  grid.viewport()->repaint();
  int made = grid.PicturesMade();
  EXPECT_GT(made, 0);
  grid.viewport()->repaint();
  EXPECT_EQ(grid.PicturesMade(), made);  // kept

  show(WriteCollection(dir, TIcoDrawGrid::kMaxKeptPictures + 1));
  EXPECT_EQ(panel.Description(), "Icons: 2001");
  grid.viewport()->repaint();
  int first = grid.PicturesMade();
  grid.viewport()->repaint();
  EXPECT_GT(grid.PicturesMade(), first);  // made again: neither icon nor picture was kept
  grid.SetCurrent(2000);                  // the last row reads on to the end
  grid.viewport()->repaint();
  EXPECT_EQ(grid.Current(), 2000);
}

TEST(IcoPreviewPanel, AModuleThatGivesNoIconsShowsNothing) {
  TestApplication();
  if (!std::filesystem::exists(kStub)) GTEST_SKIP() << "nsis is not installed";
  TempDir dir;
  std::vector<uint8_t> head = ReadWholeFile(kStub);
  head.resize(std::min<size_t>(head.size(), 1024));  // headers only: no resources to read
  WriteFileAtomic(dir.File("headers.dll"), head);
  TIcoPreviewPanel panel;
  panel.ShowFile(QString::fromStdString(dir.File("headers.dll")));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !panel.Pending(); }, 20000));
  panel.ShowFinished();
  EXPECT_EQ(panel.Description(), "Picture");
  EXPECT_FALSE(panel.GridShown());
  EXPECT_FALSE(panel.PreviewEnabled());
  EXPECT_EQ(panel.SelectedIndex(), -1);
}

}  // namespace
}  // namespace varnel::test
