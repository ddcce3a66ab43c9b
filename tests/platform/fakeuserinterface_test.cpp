#include "platform/fakeuserinterface.h"

#include <gtest/gtest.h>

namespace varnel {
namespace {

TEST(FakeUserInterfaceTest, AnswersFromItsQueuesThenAsCancelWould) {
  FakeUserInterface ui;
  ui.messageAnswers = {TModalResult::mrYes};
  EXPECT_EQ(ui.ShowMessage(
                MakeMessage(TMessageKind::SaveFile, "File x already exists. Overwrite?", mbYesNo)),
            TModalResult::mrYes);
  EXPECT_EQ(ui.ShowMessage(MakeMessage(TMessageKind::Query, "Save?", mbYesNoCancel)),
            TModalResult::mrCancel);
  EXPECT_EQ(ui.ShowMessage(MakeMessage(TMessageKind::Warning, "Sure?", mbYesNo)),
            TModalResult::mrNo);
  EXPECT_EQ(ui.messages[0].caption, "Save file");
  EXPECT_EQ(ui.messages[0].icon, TMessageIcon::Warning);
  EXPECT_EQ(ui.log[1], "Message Query: Save?");
  EXPECT_EQ(ui.AskOverwrite({"/a.ico", "a"}), TOverwriteAnswer::Cancel);
  EXPECT_EQ(ui.AskHotSpot(0), std::nullopt);
  EXPECT_FALSE(ui.AskConfirmation({}).ok);
}

TEST(FakeUserInterfaceTest, ProcessMessagesRunsTheScriptAndProgressStartsClear) {
  FakeUserInterface ui;
  bool stopped = false;
  ui.onProcessMessages = [&] { stopped = ui.processMessagesCalls == 2; };
  ui.ProcessMessages();
  EXPECT_FALSE(stopped);
  ui.ProcessMessages();
  EXPECT_TRUE(stopped);
  ui.ProgressFlags().stopRequested = true;
  ui.SetProgressField(TProgressField::File, "x");
  ui.ShowProgress();
  EXPECT_FALSE(ui.ProgressFlags().stopRequested);
  EXPECT_TRUE(ui.progressFields.empty());
  EXPECT_TRUE(ui.ProgressShown());
}

}  // namespace
}  // namespace varnel
