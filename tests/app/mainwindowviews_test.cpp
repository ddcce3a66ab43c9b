// What the main window shows beside the grid follows every change: the status panels and the
// image panel after deleting, splitting, combining and searching; the grid's pop-up menu; the
// window's title, size limits and its save question.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMessageBox>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include "app/errorhandler.h"
#include "app/imagepanel.h"
#include "app/localgrid.h"
#include "app/mainwindow.h"
#include "app/statuspanel.h"
#include "apptestsupport.h"
#include "icons/advancedicon.h"
#include "search/foldersearch.h"
#include "support/corpus.h"

namespace varnel::test {
namespace {

class MainWindowViewsTest : public testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    window = std::make_unique<TfmMain>(dir.File("config.ini"));
    window->AskWelcome = [] { return std::pair<char, bool>{0, false}; };
    window->Start({});
    window->AppSettings().Values().ConfirmDIFL = false;
  }
  TfmLib& Lib() { return window->Lib(); }
  // An icon with images of the given sizes.
  static std::unique_ptr<TAdvancedIcon> IconOfSizes(std::initializer_list<int> sizes) {
    auto icon = std::make_unique<TAdvancedIcon>();
    for (int size : sizes)
      icon->Images().AddFromBitmap(TBitmap(size, size, PixelFormat::Bits24), nullptr, 0);
    return icon;
  }
  void Add(const std::string& name, std::unique_ptr<TAdvancedIcon> icon) {
    Lib().AppendItem(name, std::move(icon));
    window->Grid().Relayout();
  }
  // The refresh follows once the events of the moment are handled.
  void Settle() { QApplication::processEvents(); }
  QString Panel(int index) { return window->StatusPanel(index)->FullText(); }
  const TAdvancedIcon* ShownIcon() { return window->ImagePanel().ShownIcon(); }
  void Trigger(const char* command) {
    window->UpdateActions();
    window->Action(command)->trigger();
    Settle();
  }

  TempDir dir;
  std::unique_ptr<TfmMain> window;
};

TEST_F(MainWindowViewsTest, DeletingMovesStatusAndImagePanelToTheNextIcon) {
  Add("first", IconOfSizes({16}));
  Add("second", IconOfSizes({16, 32}));
  Add("third", IconOfSizes({16, 32, 48}));
  window->Grid().SelectOnly(1);
  Settle();
  EXPECT_EQ(Panel(0), "second");
  Trigger("aEditErase");
  ASSERT_EQ(Lib().Count(), 2);
  EXPECT_EQ(window->Grid().Current(), 1);
  EXPECT_EQ(Panel(0), "third");
  EXPECT_EQ(Panel(2), "2 of 2");
  EXPECT_EQ(ShownIcon(), Lib().Items().Icons(1));
  EXPECT_EQ(window->ImagePanel().count(), 3);
  // Deleting the rest empties both.
  Lib().SelectAll();
  Trigger("aEditErase");
  EXPECT_EQ(Panel(0), "");
  EXPECT_EQ(Panel(1), "No icons");
  EXPECT_EQ(ShownIcon(), nullptr);
}

TEST_F(MainWindowViewsTest, SplitAndCombineRebuildTheImagePanelAtOnce) {
  Add("trio", IconOfSizes({16, 32, 48}));
  Add("other", IconOfSizes({24}));
  window->Grid().SelectOnly(0);
  Settle();
  ASSERT_EQ(window->ImagePanel().count(), 3);
  Trigger("mnLibSplitIcon");
  ASSERT_EQ(Lib().Count(), 4);
  EXPECT_EQ(window->ImagePanel().count(),
            Lib().Items().Icons(window->Grid().Current())->Images().Count());
  EXPECT_EQ(window->ImagePanel().count(), 1);
  Lib().SelectAll();
  window->Grid().SetCurrent(0);
  Trigger("mnLibCombineIcons");
  ASSERT_EQ(Lib().Count(), 1);
  EXPECT_EQ(ShownIcon(), Lib().Items().Icons(0));
  EXPECT_EQ(window->ImagePanel().count(), 4);
}

TEST_F(MainWindowViewsTest, AfterASearchTheStatusNamesTheSelectedIcon) {
  TempDir folder;
  const std::pair<const char*, TColor> files[] = {
      {"a.ico", RGB(0xFF, 0, 0)}, {"b.ico", RGB(0, 0xFF, 0)}, {"c.ico", RGB(0, 0, 0xFF)}};
  for (auto [name, color] : files) SolidIcon(16, 16, 32, color)->SaveToFile(folder.File(name));
  SearchFolderTree(Lib(), folder.Path(), "*.ico", false);
  Settle();
  ASSERT_EQ(Lib().Count(), 3);
  int current = window->Grid().Current();
  ASSERT_EQ(current, 2);
  EXPECT_EQ(Panel(0).toStdString(), window->Grid().ItemStatusText(current));
  EXPECT_NE(Panel(0).toStdString(), folder.File("c.ico"));  // not the last file scanned
  EXPECT_EQ(Panel(2), "3 of 3");
  EXPECT_EQ(ShownIcon(), Lib().Items().Icons(current));
}

TEST_F(MainWindowViewsTest, WhileBusyTheIdleUpdateLeavesTheCountersAlone) {
  Add("one", IconOfSizes({16}));
  Lib().BeginBusy();
  window->UI().SetStatusText(1, "Icons 1");
  window->UpdateActions();
  Settle();
  EXPECT_EQ(Panel(1), "Icons 1");
  EXPECT_EQ(Panel(2), "");  // cleared for the operation, not "Amount 1"
  Lib().EndBusy();
  Settle();
  EXPECT_EQ(Panel(2), "Amount 1");
}

TEST_F(MainWindowViewsTest, GridMenuSharesTheCommandsAndTheirRules) {
  QGuiApplication::clipboard()->clear();
  QMenu* menu = window->GridMenu();
  ASSERT_NE(menu, nullptr);
  QStringList names;
  for (QAction* action : menu->actions())
    names << (action->isSeparator() ? QString() : action->objectName());
  EXPECT_EQ(names, (QStringList{"aEditCut", "aEditCopy", "aEditPaste", "aEditErase",
                                "aLibCreateCopy", "", "aLibRename", "aFileSaveIconAs", ""}));
  auto enabled = [&](const char* name) {
    for (QAction* action : menu->actions())
      if (action->objectName() == name) return action->isEnabled();
    ADD_FAILURE() << name;
    return false;
  };
  Add("one", IconOfSizes({16}));
  Add("two", IconOfSizes({16}));
  Lib().SelectAll();
  window->UpdateActions();
  EXPECT_TRUE(enabled("aEditCut"));
  EXPECT_TRUE(enabled("aEditErase"));
  EXPECT_FALSE(enabled("aLibCreateCopy"));  // two selected
  EXPECT_FALSE(enabled("aEditPaste"));      // nothing copied yet
  Lib().SelectOnly(1);
  window->UpdateActions();
  EXPECT_TRUE(enabled("aLibCreateCopy"));
  EXPECT_TRUE(enabled("aLibRename"));
  EXPECT_TRUE(enabled("aFileSaveIconAs"));
}

TEST_F(MainWindowViewsTest, ARightClickOpensTheGridMenuOnTheItemItSelected) {
  Add("one", IconOfSizes({16}));
  Add("two", IconOfSizes({16}));
  window->show();
  Lib().SelectOnly(0);
  TLocalGrid& grid = window->Grid();
  QRect cell = grid.CellRect(1);
  QPoint at =
      cell.topLeft() + QPoint(grid.GridLayout().imageLeft + 4, grid.GridLayout().imageTop + 4);
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(at),
                    grid.viewport()->mapToGlobal(QPointF(at)), Qt::RightButton, Qt::RightButton,
                    Qt::NoModifier);
  QApplication::sendEvent(grid.viewport(), &press);
  QContextMenuEvent context(QContextMenuEvent::Mouse, at, grid.viewport()->mapToGlobal(at));
  QApplication::sendEvent(grid.viewport(), &context);
  EXPECT_TRUE(window->GridMenu()->isVisible());
  EXPECT_TRUE(window->Action("aLibCreateCopy")->isEnabled());  // the clicked item alone
  EXPECT_EQ(grid.Current(), 1);
  window->GridMenu()->hide();
}

TEST_F(MainWindowViewsTest, TheTitleIsTheCaptionAlone) {
  NameApplication();
  // A display name would be appended to every window title by Qt.
  EXPECT_EQ(QGuiApplication::applicationDisplayName(), "Varnel");
  EXPECT_EQ(window->windowTitle(), "Varnel - New Icon Library 1");
}

TEST_F(MainWindowViewsTest, AnEmptiedCollectionIsAskedAboutByItsCaption) {
  Add("one", IconOfSizes({16}));
  Trigger("aFileNewLib");
  ASSERT_EQ(Lib().Count(), 0);
  EXPECT_EQ(Lib().Caption(), "New Icon Library 1");
  Add("two", IconOfSizes({16}));
  Lib().SetModified(true);
  window->show();
  auto [closed, question] = CloseAnsweringCancel(*window);
  EXPECT_FALSE(closed);
  EXPECT_EQ(question, "Save changes in \"New Icon Library 1\"?");
}

TEST_F(MainWindowViewsTest, AtItsMinimumSizeTheStatusPanelsStayApart) {
  window->show();
  window->resize(window->minimumSize());
  QTest::qWait(50);  // the layouts settle
  EXPECT_GE(window->minimumWidth(), 400);
  EXPECT_LE(window->width(), 600);  // it can be made small
  int right = 0;
  for (int i = 0; i < 4; ++i) {
    QRect panel = window->StatusPanel(i)->geometry();
    EXPECT_GE(panel.left(), right) << i;
    EXPECT_GT(panel.width(), 0) << i;
    right = panel.right();
  }
  EXPECT_LE(right, window->statusBar()->width());
  EXPECT_GE(window->Grid().GridLayout().columns, 2);
}

TEST_F(MainWindowViewsTest, LongStatusTextsAreShortenedInTheMiddle) {
  window->show();
  std::string path = "/home/user/" + std::string(300, 'x') + "/icons32.dll - Icon 7";
  window->UI().SetStatusText(0, path);
  TStatusPanel* panel = window->StatusPanel(0);
  EXPECT_EQ(panel->FullText().toStdString(), path);
  EXPECT_TRUE(panel->text().startsWith("/home/user/"));
  EXPECT_TRUE(panel->text().endsWith("Icon 7"));
  EXPECT_TRUE(panel->text().contains(QChar(0x2026)));
  EXPECT_LE(panel->fontMetrics().horizontalAdvance(panel->text()), panel->contentsRect().width());
}

}  // namespace
}  // namespace varnel::test
