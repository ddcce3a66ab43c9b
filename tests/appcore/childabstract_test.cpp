#include "appcore/childabstract.h"

#include <gtest/gtest.h>

#include "appcore/childhost.h"
#include "appcore/reopenfileholder.h"
#include "platform/fakeuserinterface.h"

namespace varnel {
namespace {

class TestChild : public TfmChildAbstract {
 public:
  using TfmChildAbstract::TfmChildAbstract;
  std::vector<std::string> calls;
  std::string nameChosenBySave;  // empty: the person cancels the save dialog

  std::string DefaultCaption() const override { return "New Icon Library"; }
  bool Save() override {
    calls.push_back("Save with name '" + FileName + "'");
    if (FileName.empty()) FileName = nameChosenBySave;
    return !FileName.empty();
  }
  void EraseSelection() override { calls.push_back("Erase"); }
  void CopySelection() override { calls.push_back("Copy"); }
  void PasteFromClipboard() override {}
  bool CanCopy() const override { return true; }
  bool CanPaste() const override { return true; }
  bool CanErase() const override { return true; }
  void SelectAll() override {}
  bool CanSelectAll() const override { return true; }
  void IdleUpdate() override {}
  void ExportIconsToFolder(bool) override {}
};

TEST(ChildAbstractTest, NumberedCaptionsTakeTheFirstFreeNumber) {
  FakeUserInterface ui;
  TChildHost host(ui, "Varnel");
  TestChild first(host);
  first.AssignNumberedCaption();
  EXPECT_EQ(first.Caption(), "New Icon Library 1");
  TestChild second(host);
  second.AssignNumberedCaption();
  EXPECT_EQ(second.Caption(), "New Icon Library 2");
  first.SetChildCaption("icons.icl");
  TestChild third(host);
  third.AssignNumberedCaption();
  EXPECT_EQ(third.Caption(), "New Icon Library 1");
}

TEST(ChildAbstractTest, LongCaptionsAreShortenedAndShownInTheMainCaption) {
  FakeUserInterface ui;
  TChildHost host(ui, "Varnel");
  TestChild child(host);
  child.ShowChild();
  EXPECT_EQ(ui.mainCaption, "Varnel");
  std::string text41 = std::string(19, 'a') + "12" + std::string(20, 'z');
  child.SetChildCaption(text41);
  EXPECT_EQ(child.Caption(), std::string(19, 'a') + "..." + std::string(20, 'z'));
  EXPECT_EQ(ui.mainCaption, "Varnel - " + child.Caption());
  child.SetChildCaption(std::string(40, 'c'));
  EXPECT_EQ(child.Caption(), std::string(40, 'c'));
}

TEST(ChildAbstractTest, ActivationHidesThePreviousWindow) {
  FakeUserInterface ui;
  TChildHost host(ui, "Varnel");
  TestChild first(host), second(host);
  first.ShowChild();
  second.ShowChild();
  EXPECT_EQ(host.CurrentChild(), &second);
  EXPECT_FALSE(first.Visible());
  EXPECT_TRUE(second.Visible());
}

TEST(ChildAbstractTest, SaveAsAsksForANameAndRestoresTheOldOneWhenCancelled) {
  FakeUserInterface ui;
  TReopenFileHolder recent;
  TChildHost host(ui, "Varnel", &recent);
  TestChild child(host);
  child.ShowChild();
  child.FileName = "/home/u/old.icc";
  child.SaveAs();
  EXPECT_EQ(child.calls, (std::vector<std::string>{"Save with name ''"}));
  EXPECT_EQ(child.FileName, "/home/u/old.icc");
  EXPECT_EQ(recent.Files(), (std::vector<std::string>{"/home/u/old.icc"}));

  child.nameChosenBySave = "/home/u/new.icl";
  child.SaveAs();
  EXPECT_EQ(child.FileName, "/home/u/new.icl");
  EXPECT_EQ(child.Caption(), "new.icl");
  EXPECT_EQ(ui.mainCaption, "Varnel - new.icl");
}

TEST(ChildAbstractTest, CutCopiesThenErasesAndStopIsRequested) {
  FakeUserInterface ui;
  TChildHost host(ui, "Varnel");
  TestChild child(host);
  child.Cut();
  EXPECT_EQ(child.calls, (std::vector<std::string>{"Copy", "Erase"}));
  EXPECT_FALSE(child.StopRequested());
  child.RequestStop();
  EXPECT_TRUE(child.StopRequested());
  child.OpenFile("/a.icl");
  EXPECT_EQ(child.FileName, "/a.icl");
  child.SetModified(true);
  EXPECT_TRUE(child.GetModified());
}

}  // namespace
}  // namespace varnel
