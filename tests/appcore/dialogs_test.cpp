#include <gtest/gtest.h>

#include "appcore/applicationsettings.h"
#include "appcore/colorselection.h"
#include "appcore/optionsdialog.h"
#include "appcore/shareddialogs.h"
#include "platform/fakeuserinterface.h"
#include "support/corpus.h"

namespace varnel {
namespace {

TEST(ConfirmDialogTest, OkTakesTheCheckBoxAndCancelLeavesTheFlag) {
  FakeUserInterface ui;
  bool prompt = true;
  ui.confirmAnswers = {{true, true}, {false, true}};
  EXPECT_TRUE(ConfirmDialog(ui, "Delete 3 icons?", prompt));
  EXPECT_FALSE(prompt);
  EXPECT_EQ(ui.confirmations[0].caption, "Confirmation");
  EXPECT_TRUE(ui.confirmations[0].showCheckBox);

  prompt = true;
  EXPECT_FALSE(ConfirmDialog(ui, "Delete?", prompt));
  EXPECT_TRUE(prompt);

  bool silenced = false;
  ui.confirmAnswers = {{true, false}};
  EXPECT_TRUE(ConfirmDialog(ui, "Note", silenced, true));
  EXPECT_FALSE(ui.confirmations.back().showCheckBox);
  EXPECT_EQ(ui.confirmations.back().caption, "Information");
  EXPECT_TRUE(silenced);
}

TEST(SharedDialogsTest, ErrorListAndFolderBrowserGoThroughTheInterface) {
  FakeUserInterface ui;
  ShowErrors(ui, {});
  ShowErrors(ui, {"a: Images not found", "b"});
  ASSERT_EQ(ui.errorLists.size(), 1u);
  EXPECT_EQ(ui.errorLists[0].size(), 2u);
  ui.folderAnswers = {std::string("/home/u/icons")};
  EXPECT_EQ(BrowseForFolder(ui, "Select folder", "/home"), "/home/u/icons");
  EXPECT_EQ(ui.folderRequests[0].startFolder, "/home");
  EXPECT_EQ(BrowseForFolder(ui, "Select folder", ""), std::nullopt);
}

TEST(OptionsDialogTest, OkCorrectsArchiveSizeAndMask) {
  TSettings settings;
  settings.MaxArchiveSize = 20;
  TConfigurationModel model(settings, true);
  EXPECT_EQ(model.MaxArchiveSizeText, "20");
  for (const char* text : {"abc", "0", "-5", ""}) {
    model.SetMaxArchiveSizeText(text);
    model.TakeInto(settings);
    EXPECT_EQ(settings.MaxArchiveSize, 12) << text;
  }
  model.SetMaxArchiveSizeText("1000");
  model.IconMask = "  *.ico;*.icl  ";
  model.TakeInto(settings);
  EXPECT_EQ(settings.MaxArchiveSize, 100);  // the field holds at most three characters
  EXPECT_EQ(settings.IconMask, "*.ico;*.icl");
  model.IconMask = "   ";
  model.TakeInto(settings);
  EXPECT_EQ(settings.IconMask, kDefaultIconMask);
}

TEST(OptionsDialogTest, DefaultResetsTheControlsButNotTheSettings) {
  TSettings settings;
  settings.Back1bpp = clBlack;
  settings.ICLExportLimit = 50;  // below the spin field's minimum
  settings.ConfirmDIFL = false;
  TConfigurationModel model(settings, true);
  EXPECT_EQ(model.ICLExportLimit, 100);
  EXPECT_TRUE(model.MonochromeIsBlack());
  model.ApplyDefaults();
  EXPECT_EQ(model.Back1bpp, clWhite);
  EXPECT_EQ(model.ICLExportLimit, 1600);
  EXPECT_TRUE(model.ShowMMI);
  EXPECT_TRUE(model.ConfirmDIFL);
  EXPECT_EQ(model.MaxArchiveSizeText, "12");
  EXPECT_FALSE(settings.ConfirmDIFL);
}

class ScriptedOptionsView : public TOptionsDialogView {
 public:
  bool confirm = true;
  TOptionsPage shownPage = TOptionsPage::Dialogs;
  bool Execute(TConfigurationModel& model, TOptionsPage page) override {
    shownPage = page;
    model.ConfirmUPF = false;
    model.ChooseMonochrome(true);
    return confirm;
  }
};

TEST(OptionsDialogTest, EditOptionsSavesOnOkAndChangesNothingOnCancel) {
  test::TempDir dir;
  TApplicationSettings settings(dir.File("config.ini"), 32);
  ScriptedOptionsView view;
  view.confirm = false;
  EXPECT_FALSE(EditOptions(TOptionsPage::Import, settings, view));
  EXPECT_EQ(view.shownPage, TOptionsPage::Import);
  EXPECT_TRUE(settings.Values().ConfirmUPF);
  view.confirm = true;
  EXPECT_TRUE(EditOptions(TOptionsPage::Dialogs, settings, view));
  EXPECT_FALSE(settings.Values().ConfirmUPF);
  TIniFile saved(dir.File("config.ini"));
  EXPECT_FALSE(saved.ReadBool("Cfg", "ConfirmUPF", true));
  EXPECT_EQ(saved.ReadString("Color", "Back1bpp", ""), "clBlack");
}

TEST(ColorSelectionTest, OpeningPressesTheMatchingButtonOrTheCustomOne) {
  TColorSelectionModel model;
  model.Open(clTeal, clNone);
  EXPECT_EQ(model.PressedButton(), 9);
  EXPECT_FALSE(model.DefaultVisible());

  model.Open(RGB(212, 208, 200), clSilver);  // the value of the button face colour
  EXPECT_EQ(model.PressedButton(), TColorSelectionModel::kNoButton);
  EXPECT_EQ(model.SystemColorIndex(), 0);
  EXPECT_EQ(model.CustomColor(), RGB(212, 208, 200));
  EXPECT_TRUE(model.DefaultVisible());

  model.Open(clInfoBk, clSilver);
  EXPECT_EQ(model.SystemColorIndex(), 21);
  EXPECT_EQ(model.Result(), RGB(255, 255, 225));

  model.Open(RGB(1, 2, 3), clSilver);  // unmatched: the list stays as it was
  EXPECT_EQ(model.SystemColorIndex(), 21);
  model.SelectDefault();
  EXPECT_EQ(model.PressedButton(), 7);
  EXPECT_EQ(model.Result(), clSilver);
}

TEST(ColorSelectionTest, HexFieldReadsRedFirstAndSystemNames) {
  TColorSelectionModel model;
  model.Open(RGB(0x12, 0x34, 0x56), clNone);
  EXPECT_EQ(model.HexText(), "#123456");
  model.TypeHexText(" #FF8000 ");
  EXPECT_EQ(model.Result(), RGB(0xFF, 0x80, 0x00));
  model.TypeHexText("00ff00");
  EXPECT_EQ(model.Result(), clLime);
  model.TypeHexText("not hex");
  EXPECT_EQ(model.Result(), clLime);
  model.TypeHexText("#1234567");
  EXPECT_EQ(model.Result(), clLime);
  model.TypeHexText("btnface");
  EXPECT_EQ(model.CustomColor(), clBtnFace);
  EXPECT_EQ(model.HexText(), "#D4D0C8");
  model.TypeHexText("");
  EXPECT_EQ(model.Result(), clBlack);
}

TEST(ColorSelectionTest, TheDialogStays30PixelsInsideTheScreen) {
  TScreenSize screen{1024, 768};
  EXPECT_EQ(TColorSelectionModel::Place(500, 400, 200, 100, screen),
            (TWindowBounds{400, 350, 200, 100}));
  EXPECT_EQ(TColorSelectionModel::Place(0, 0, 200, 100, screen), (TWindowBounds{30, 30, 200, 100}));
  EXPECT_EQ(TColorSelectionModel::Place(1024, 768, 200, 100, screen),
            (TWindowBounds{794, 638, 200, 100}));
}

class ScriptedColorView : public TColorSelectionView {
 public:
  TColorSelectionModel model;
  int buttonToClick = -1;
  TColorSelectionModel& Model() override { return model; }
  bool Execute() override {
    if (buttonToClick < 0) return false;
    model.ClickButton(buttonToClick);
    return true;
  }
};

TEST(ColorSelectionTest, SelectColorReturnsThePlainColourOnlyWhenConfirmed) {
  ScriptedColorView view;
  TColor color = clBtnFace;
  EXPECT_FALSE(SelectColor(view, color, clNone));
  EXPECT_EQ(color, clBtnFace);
  view.buttonToClick = 3;
  EXPECT_TRUE(SelectColor(view, color, clNone));
  EXPECT_EQ(color, clBlue);

  TConfigurationModel options(TSettings{}, false);
  view.buttonToClick = -1;
  EXPECT_FALSE(options.PickBack8bpp(view));
  EXPECT_TRUE(view.model.DefaultVisible());
  EXPECT_EQ(options.Back8bpp, clSilver);
  view.buttonToClick = 0;
  EXPECT_TRUE(options.PickBack4bpp(view));
  EXPECT_FALSE(view.model.DefaultVisible());
  EXPECT_EQ(options.Back4bpp, clWhite);
}

}  // namespace
}  // namespace varnel
