// The dialogs behind the UI interface: find icons, confirmation, progress and "Add Image".

#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include "app/colorselectiondialog.h"
#include "app/confirmationdialog.h"
#include "app/finddialog.h"
#include "app/findiconsdialog.h"
#include "app/newimagesizedialog.h"
#include "app/optionsdialog.h"
#include "app/progresswindow.h"
#include "app/qtuserinterface.h"
#include "apptestsupport.h"

namespace varnel::test {
namespace {

TEST(FindIconsDialog, AnInvalidFolderKeepsTheDialogOpenWithTheError) {
  TestApplication();
  FakeUserInterface ui;
  TFindIconsRequest request;
  request.initial = {"/nowhere", "*.ico", false, false, true};
  request.defaultMask = "*.ico;*.dll";
  request.validate = [](const std::string& folder) -> std::optional<std::string> {
    if (folder == "/tmp") return std::nullopt;
    return "Folder not found: " + folder;
  };
  TFindIconsDialog dialog(request, ui);
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Folder not found: /nowhere");
  dialog.FolderField()->setText("/tmp");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  TFindIconsChoice choice = dialog.Choice();
  EXPECT_EQ(choice.folder, "/tmp");
  EXPECT_EQ(choice.mask, "*.ico");
  EXPECT_TRUE(choice.searchArchives);
}

TEST(FindIconsDialog, AnEmptyFolderIsRefusedAsMissing) {
  TestApplication();
  FakeUserInterface ui;
  TFindIconsRequest request;
  request.initial = {"  ", "*.ico", false, false, true};
  bool validated = false;
  request.validate = [&](const std::string&) -> std::optional<std::string> {
    validated = true;
    return std::nullopt;
  };
  TFindIconsDialog dialog(request, ui);
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_FALSE(validated);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "A folder is required: enter the folder to search");
}

// Every label with a mnemonic ("&") shows it as one, which a label does only with a buddy.
void ExpectMnemonicLabelsHaveBuddies(const QWidget& dialog) {
  for (const QLabel* label : dialog.findChildren<QLabel*>()) {
    QString text = label->text();
    bool mnemonic = text.contains(QRegularExpression("&[^&\\s]"));
    if (mnemonic) {
      EXPECT_NE(label->buddy(), nullptr) << text.toStdString();
    }
  }
}

TEST(DialogLabels, MnemonicsAreShownAsAcceleratorsOfTheirFields) {
  TestApplication();
  FakeUserInterface ui;
  TfmConfiguration options;
  ExpectMnemonicLabelsHaveBuddies(options);
  TFindDialog find;
  ExpectMnemonicLabelsHaveBuddies(find);
  TFindIconsRequest request;
  TFindIconsDialog findIcons(request, ui);
  ExpectMnemonicLabelsHaveBuddies(findIcons);
}

TEST(FindIconsDialog, DefaultRestoresTheMaskAndOptions) {
  TestApplication();
  FakeUserInterface ui;
  TFindIconsRequest request;
  request.initial = {"/tmp", "*.ico", false, false, true};
  request.defaultMask = "*.ico;*.dll";
  TFindIconsDialog dialog(request, ui);
  dialog.RestoreDefaults();
  TFindIconsChoice choice = dialog.Choice();
  EXPECT_EQ(choice.mask, "*.ico;*.dll");
  EXPECT_TRUE(choice.includeSubfolders);
  EXPECT_TRUE(choice.excludeDuplicates);
  EXPECT_FALSE(choice.searchArchives);
  EXPECT_EQ(choice.folder, "/tmp");
}

TEST(ConfirmationDialog, TheCheckBoxCountsOnlyWhenShown) {
  TestApplication();
  TConfirmationDialog shown({"Delete 3 icons?", kCaptionConfirmation, true});
  shown.DoNotPrompt()->setChecked(true);
  shown.show();
  shown.accept();
  EXPECT_EQ(shown.windowTitle(), "Confirmation");
  EXPECT_EQ(shown.DoNotPrompt()->text(), "&Do not prompt in the future");
  EXPECT_TRUE(shown.Answer().ok);
  EXPECT_TRUE(shown.Answer().doNotPrompt);
  TConfirmationDialog hidden({"Really?", kCaptionInformation, false});
  hidden.DoNotPrompt()->setChecked(true);
  hidden.show();
  hidden.reject();
  EXPECT_FALSE(hidden.Answer().ok);
  EXPECT_FALSE(hidden.Answer().doNotPrompt);
}

TEST(ProgressWindow, StopAndQuickDoubleSkipSetTheirFlags) {
  TestApplication();
  TfmProgress progress;
  progress.SetSkipVisible(true);
  progress.StopButton()->click();
  EXPECT_TRUE(progress.Flags().stopRequested);
  progress.SkipButton()->click();
  EXPECT_TRUE(progress.Flags().skipRequested);
  EXPECT_FALSE(progress.Flags().skipGroup);
  progress.SkipButton()->click();  // within a second of the first
  EXPECT_TRUE(progress.Flags().skipGroup);
  progress.SetField(TProgressField::File, "a.ico");
  progress.SetLabel(TProgressField::Path, "Downloading:");
  progress.Reset();
  EXPECT_FALSE(progress.Flags().stopRequested);
  EXPECT_EQ(progress.Field(TProgressField::File), "");
  EXPECT_EQ(progress.Label(TProgressField::Path), "Current path:") << "captions come back";
  EXPECT_EQ(progress.windowTitle(), "Extracting Icons...");
}

TEST(ProgressWindow, APressedStopHoldsWhenTheWindowIsActivatedAgain) {
  TestApplication();
  TfmProgress progress;
  progress.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&progress));
  progress.StopButton()->click();
  progress.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&progress));
  QEvent activation(QEvent::ActivationChange);
  QApplication::sendEvent(&progress, &activation);
  EXPECT_TRUE(progress.Flags().stopRequested);
  progress.Reset();  // a new operation starts afresh
  EXPECT_FALSE(progress.Flags().stopRequested);
}

TEST(ProgressWindow, TheInterfaceReadsTheWindowsFlags) {
  TestApplication();
  TQtUserInterface ui;
  ui.ProgressFlags().stopRequested = true;  // no window: flags of their own
  ui.ShowProgress();
  EXPECT_FALSE(ui.ProgressFlags().stopRequested);
  ui.Progress()->StopButton()->click();
  EXPECT_TRUE(ui.ProgressFlags().stopRequested);
  ui.SetProgressField(TProgressField::Count, "12");
  EXPECT_EQ(ui.Progress()->Field(TProgressField::Count), "12");
  ui.CloseProgress();
  EXPECT_FALSE(ui.ProgressShown());
}

TEST(NewImageSizeDialog, FixedSizesAreSquareAndStored) {
  TestApplication();
  TNewImageResizeSettings settings;  // 24 x 24 by default
  TNewImageSizeDialog dialog({"photo.png", 300, 200}, settings);
  EXPECT_EQ(dialog.WidthField()->value(), 24);
  dialog.SizeChoice()->button(4)->click();  // 48 x 48
  TNewImageSizeAnswer answer = dialog.Answer();
  EXPECT_EQ(answer.width, 48);
  EXPECT_EQ(answer.height, 48);
  EXPECT_EQ(answer.filter, 5);  // "Auto" shrinking: Lanczos3
  EXPECT_EQ(settings.Size, 4);
}

TEST(NewImageSizeDialog, CustomStartsFromTheSourceSizeAndAsSourceKeepsIt) {
  TestApplication();
  TNewImageResizeSettings settings;
  TNewImageSizeDialog dialog({"", 20, 10}, settings);
  dialog.SizeChoice()->button(6)->click();  // "&Custom"
  EXPECT_EQ(dialog.WidthField()->value(), 20);
  EXPECT_EQ(dialog.HeightField()->value(), 10);
  EXPECT_FALSE(dialog.SquareBox()->isChecked());
  dialog.WidthField()->setValue(40);
  EXPECT_EQ(dialog.HeightField()->value(), 10);  // not square
  dialog.SquareBox()->setChecked(true);
  EXPECT_EQ(dialog.HeightField()->value(), 40);
  dialog.WidthField()->setValue(64);
  EXPECT_EQ(dialog.HeightField()->value(), 64);
  TNewImageSizeAnswer custom = dialog.Answer();
  EXPECT_EQ(custom.width, 64);
  EXPECT_EQ(custom.filter, 6);              // "Auto" enlarging: Mitchell
  dialog.SizeChoice()->button(0)->click();  // "&As source"
  EXPECT_FALSE(dialog.WidthField()->isEnabled());
  TNewImageSizeAnswer source = dialog.Answer();
  EXPECT_EQ(source.width, 20);
  EXPECT_EQ(source.height, 10);
}

TEST(OptionsDialog, ControlsShowTheSettingsAndGiveThemBack) {
  TestApplication();
  TSettings settings;
  settings.ICLExportLimit = 3200;
  settings.ConfirmDIFL = false;
  settings.IconMask = "*.ico";
  TConfigurationModel model(settings, false);
  TfmConfiguration dialog;
  dialog.Show(model);
  EXPECT_EQ(dialog.Pages()->count(), 4);
  EXPECT_EQ(dialog.Pages()->tabText(2), "Import");
  TConfigurationModel back(TSettings{}, false);
  dialog.Take(back);
  TSettings taken;
  back.TakeInto(taken);
  EXPECT_EQ(taken.ICLExportLimit, 3200);
  EXPECT_FALSE(taken.ConfirmDIFL);
  EXPECT_EQ(taken.IconMask, "*.ico");
}

TEST(OptionsDialog, TheLimitFieldKeepsItsRange) {
  TestApplication();
  TSettings settings;
  settings.ICLExportLimit = 99999;
  TConfigurationModel model(settings, false);
  TfmConfiguration dialog;
  dialog.Show(model);
  dialog.Take(model);
  EXPECT_EQ(model.ICLExportLimit, TConfigurationModel::kLimitMaximum);
}

TEST(ColorSelectionDialog, AColourButtonConfirmsAtOnce) {
  TestApplication();
  TfmColorSelection dialog;
  dialog.Model().Open(clWhite, clNone);
  dialog.ColorButton(6)->click();  // red
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Model().Result(), clRed);
}

}  // namespace
}  // namespace varnel::test
