// The main window: start-up with and without files, the enabled and checked rules of the
// commands, closing with the save question, and the error handler's text.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

#include "app/commandset.h"
#include "app/errorhandler.h"
#include "app/errorlistdialog.h"
#include "app/imagepanel.h"
#include "app/localgrid.h"
#include "app/mainwindow.h"
#include "apptestsupport.h"
#include "icons/advancedicon.h"
#include "support/corpus.h"

namespace varnel::test {
namespace {

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    window = std::make_unique<TfmMain>(dir.File("config.ini"));
    window->AskWelcome = [this] {
      ++welcomes;
      return std::pair<char, bool>{0, false};
    };
  }
  void AddIcons(int count) {
    for (int i = 0; i < count; ++i)
      window->Lib().AppendItem("Icon " + std::to_string(i), SolidIcon(32, 32, 32, 0xFF));
    window->Grid().Relayout();
  }
  bool Enabled(const char* name) { return window->Action(name)->isEnabled(); }
  bool Checked(const char* name) { return window->Action(name)->isChecked(); }

  TempDir dir;
  std::unique_ptr<TfmMain> window;
  int welcomes = 0;
};

TEST_F(MainWindowTest, WithoutFilesTheWelcomeWindowShows) {
  EXPECT_EQ(window->Start({}), 0);
  EXPECT_EQ(welcomes, 1);
  EXPECT_FALSE(window->AppSettings().Values().Welcome);  // "Show this window next time" off
  EXPECT_EQ(window->windowTitle(), "Varnel - New Icon Library 1");
}

TEST_F(MainWindowTest, AFileArgumentOpensAndTheWelcomeWindowStaysAway) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico");
  std::string file = CorpusPath("ico/python.ico");
  UnansweredModals().clear();
  EXPECT_EQ(window->Start({file}), 1);
  EXPECT_TRUE(UnansweredModals().empty()) << UnansweredModals().front();
  EXPECT_EQ(welcomes, 0);
  EXPECT_EQ(window->windowTitle(), "Varnel - python.ico");
  ASSERT_GT(window->Lib().Count(), 0);
  EXPECT_EQ(window->Grid().Current(), 0);
  const TAdvancedIcon* icon = window->Lib().Items().Icons(0);
  EXPECT_EQ(window->ImagePanel().count(), icon->Images().Count());
  EXPECT_EQ(window->ImagePanel().ShownIcon(), icon);
}

TEST_F(MainWindowTest, WelcomeIsNotShownWhenTheSettingIsOff) {
  window->AppSettings().Values().Welcome = false;
  window->AppSettings().File().WriteBool("Cfg", "Welcome", false);
  window->AppSettings().File().UpdateFile();
  window->Start({});
  EXPECT_EQ(welcomes, 0);
}

TEST_F(MainWindowTest, FailuresOfTheCommandLineGoToTheErrorList) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico");
  std::string file = CorpusPath("ico/python.ico");
  UnansweredModals().clear();
  EXPECT_EQ(window->Start({file, file}), 2);
  EXPECT_EQ(welcomes, 0);
  // Only the joined name failed, and the error list window showed it.
  ASSERT_EQ(UnansweredModals().size(), 1u);
  EXPECT_EQ(UnansweredModals()[0], file + " " + file + " - icons not found");
}

TEST_F(MainWindowTest, DuplicateNeedsOneSelectedIconAndCombineTwo) {
  window->Start({});
  AddIcons(3);
  window->Lib().SelectOnly(0);
  window->UpdateActions();
  EXPECT_TRUE(Enabled("aLibCreateCopy"));
  EXPECT_FALSE(Enabled("mnLibCombineIcons"));
  window->Lib().SetSelected(1, true);
  window->UpdateActions();
  EXPECT_FALSE(Enabled("aLibCreateCopy"));
  EXPECT_TRUE(Enabled("mnLibCombineIcons"));
  EXPECT_TRUE(Enabled("aEditCopy"));
  EXPECT_TRUE(Enabled("aLibRename"));
}

TEST_F(MainWindowTest, EmptyCollectionDisablesWhatNeedsIcons) {
  window->Start({});
  window->UpdateActions();
  for (const char* name :
       {"aFileNewLib", "aFileSave", "aFileSaveAs", "aFileSaveIconAs", "aEditCopy", "aEditCut",
        "aEditErase", "aEditSelectAll", "mnLibCheckNames", "mnLibSplitIcon", "mnExportAllIcons"})
    EXPECT_FALSE(Enabled(name)) << name;
  for (const char* name : {"aFileOpen", "aLibAddFiles", "aLibAddFolder"})
    EXPECT_TRUE(Enabled(name)) << name;
  // "Delete Duplicates" needs two icons in the menu; its toolbar button is always enabled.
  EXPECT_FALSE(Enabled("aLibDelDupes"));
  EXPECT_TRUE(window->findChild<QAction*>("btDelDupes")->isEnabled());
}

TEST_F(MainWindowTest, EveryCommandRowHasOneHandlerAndTheToolbarFollowsThePlaces) {
  std::vector<CommandHandler> handlers = window->CommandHandlers();
  auto handlersOf = [&](std::string_view name) {
    return std::count_if(handlers.begin(), handlers.end(),
                         [&](const CommandHandler& handler) { return handler.name == name; });
  };
  auto rowsOf = [](std::string_view name) {
    return std::count_if(CommandTable().begin(), CommandTable().end(),
                         [&](const TCommandInfo& row) { return row.name == name; });
  };
  for (const TCommandInfo& row : CommandTable()) EXPECT_EQ(handlersOf(row.name), 1) << row.name;
  for (const CommandHandler& handler : handlers) EXPECT_EQ(rowsOf(handler.name), 1) << handler.name;
  std::vector<std::string> toolbar;
  for (QAction* action : window->Toolbar()->actions())
    toolbar.push_back(action->isSeparator() ? "" : action->objectName().toStdString());
  toolbar.resize(std::min<size_t>(toolbar.size(), 21));
  EXPECT_EQ(toolbar, (std::vector<std::string>{"aFileNewLib",
                                               "aFileOpen",
                                               "aFileSave",
                                               "aFileSaveIconAs",
                                               "",
                                               "aLibAddFiles",
                                               "aLibAddFolder",
                                               "aLibAddSubFolders",
                                               "aLibFindInet",
                                               "alibDownload",
                                               "mnLibAddAssotiated",
                                               "btDelDupes",
                                               "",
                                               "aEditCut",
                                               "aEditCopy",
                                               "aEditPaste",
                                               "aEditErase",
                                               "",
                                               "aFileProps",
                                               "aDisplayCustWin",
                                               ""}));
}

TEST_F(MainWindowTest, CopyAndPasteGoThroughTheDesktopClipboard) {
  window->Start({});
  AddIcons(2);
  window->Lib().SelectAll();
  window->UpdateActions();
  window->Action("aEditCopy")->trigger();
  window->UpdateActions();
  EXPECT_TRUE(Enabled("aEditPaste"));
  window->Action("aEditPaste")->trigger();
  EXPECT_EQ(window->Lib().Count(), 4);
  EXPECT_EQ(window->Lib().Items().Names(3), "Icon 1");
}

TEST_F(MainWindowTest, SaveIconAsWritesWhereTheRealDialogSays) {
  window->Start({});
  AddIcons(1);
  window->Lib().SelectOnly(0);
  window->UpdateActions();
  std::string target = dir.File("saved.ico");
  QTimer::singleShot(0, [&] {
    auto fileDialog = [] { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return fileDialog() != nullptr; }));
    fileDialog()->selectFile(QString::fromStdString(target));
    QMetaObject::invokeMethod(fileDialog(), "accept");  // the Save button
  });
  window->Action("aFileSaveIconAs")->trigger();
  TAdvancedIcon saved;
  ASSERT_TRUE(saved.LoadFromFile(target));
  EXPECT_EQ(saved.Images().Count(), 1);
}

TEST_F(MainWindowTest, SaveNeedsChanges) {
  window->Start({});
  AddIcons(1);
  window->Lib().SetModified(false);
  window->UpdateActions();
  EXPECT_FALSE(Enabled("aFileSave"));
  window->Lib().SetModified(true);
  window->UpdateActions();
  EXPECT_TRUE(Enabled("aFileSave"));
  EXPECT_EQ(window->Action("aFileSave")->text(), "&Save");
}

TEST_F(MainWindowTest, SizeCommandsAreCheckedExactlyInTheirMode) {
  window->Start({});
  window->Grid().SetSizeMode(kSizeModeCustom);
  window->UpdateActions();
  EXPECT_TRUE(Checked("aDisplayIconCustom"));
  EXPECT_FALSE(Checked("aDisplayIconWinSize"));
  EXPECT_FALSE(Checked("aDisplayIcon48"));
  window->Action("aDisplayIconWinSize")->trigger();
  window->UpdateActions();
  EXPECT_EQ(window->Grid().SizeMode(), kSizeModeSystem);
  EXPECT_FALSE(Checked("aDisplayIconCustom"));
  EXPECT_TRUE(Checked("aDisplayIconWinSize"));
}

TEST_F(MainWindowTest, ViewTogglesChangeTheStoredSettings) {
  window->Start({});
  const TSettings& settings = window->AppSettings().Values();
  bool captions = settings.grCaption;
  window->Action("aDisplayIconCaptions")->trigger();
  EXPECT_EQ(settings.grCaption, !captions);
  window->Action("aDisplayIcon4BPP")->trigger();
  window->UpdateActions();
  EXPECT_EQ(settings.grIconBPP, 4);
  EXPECT_TRUE(Checked("aDisplayIcon4BPP"));
  EXPECT_FALSE(Checked("aDisplayIcon32bpp"));
}

TEST_F(MainWindowTest, CommandsCarryTheirCaptionsHintsAndShortcuts) {
  QAction* copy = window->Action("aEditCopy");
  EXPECT_EQ(copy->text(), "&Copy");
  EXPECT_EQ(copy->toolTip(), "Copy");
  EXPECT_EQ(copy->statusTip(), "Copies the selection and puts it on the Clipboard");
  EXPECT_EQ(copy->shortcuts().size(), 2);
  EXPECT_EQ(window->Action("aEditErase")->text(), "&Delete");
  EXPECT_EQ(window->Action("aFileSaveAs")->shortcut(), QKeySequence("Shift+Ctrl+S"));
}

TEST_F(MainWindowTest, ClosingAModifiedCollectionAsksAndCancelKeepsItOpen) {
  window->Start({});
  window->show();
  AddIcons(1);
  window->Lib().SetModified(true);
  auto [closed, question] = CloseAnsweringCancel(*window);
  EXPECT_FALSE(closed);
  EXPECT_EQ(question, "Save changes in \"New Icon Library 1\"?");
}

TEST_F(MainWindowTest, ReopeningARecentFileAsksFirstAndMovesItToTheHead) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico");
  window->Start({});
  window->show();
  TReopenFileHolder& recent = window->AppSettings().RecentFiles();
  recent.AddFile(CorpusPath("ico/python.ico"));
  recent.AddFile("/elsewhere/b.ico");
  AddIcons(2);
  window->Lib().SetModified(true);
  int slot = recent.FileOfMenuItem(0) == "/elsewhere/b.ico" ? 1 : 0;
  QString question;
  QTimer::singleShot(0, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      question = box->text();
      box->button(QMessageBox::Cancel)->click();
    }
  });
  window->ReopenRecentFile(slot);
  EXPECT_EQ(question, "Save changes in \"New Icon Library 1\"?");
  EXPECT_EQ(window->Lib().Count(), 2);  // cancelled: the collection stays

  window->Lib().SetModified(false);
  window->ReopenRecentFile(slot);
  EXPECT_EQ(window->windowTitle(), "Varnel - python.ico");
  EXPECT_EQ(recent.FileOfMenuItem(0), CorpusPath("ico/python.ico"));
  EXPECT_EQ(recent.FileOfMenuItem(1), "/elsewhere/b.ico");  // the two swapped places
}

TEST_F(MainWindowTest, ClosingWritesTheSettings) {
  window->Start({});
  window->Grid().SetSizeMode(16);
  window->show();
  EXPECT_TRUE(window->close());
  TApplicationSettings reread(dir.File("config.ini"), 32);
  reread.LoadSettings(nullptr);
  EXPECT_EQ(reread.Values().grIconSize, 16);
}

TEST(ErrorHandler, APeriodFollowsALetterOrDigit) {
  EXPECT_EQ(ErrorMessageText("File not found"), "File not found.");
  EXPECT_EQ(ErrorMessageText("Error 42"), "Error 42.");
  EXPECT_EQ(ErrorMessageText("Done."), "Done.");
  EXPECT_EQ(ErrorMessageText("Really!"), "Really!");
  EXPECT_EQ(ErrorMessageText("Really?"), "Really?.");  // "?" sorts after "." too
  EXPECT_EQ(ErrorMessageText("(x)"), "(x)");
  EXPECT_EQ(ErrorMessageText(""), "");
}

}  // namespace
}  // namespace varnel::test
