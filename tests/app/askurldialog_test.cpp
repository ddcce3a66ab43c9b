// The "Scan Internet Address for Icons" dialog.

#include "app/askurldialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>

#include "apptestsupport.h"

namespace varnel::test {
namespace {

TEST(AskUrlDialog, AnEmptyAddressIsRefusedUnlessTheCrawlIsChosen) {
  TestApplication();
  FakeUserInterface ui;
  TInternetAddressRequest request;
  request.address = "   ";
  request.entries = {"icons.org/", "other.org/set.zip"};
  TfmAskUrl dialog(request, ui);
  EXPECT_TRUE(dialog.SourceGroup()->isEnabled());
  EXPECT_FALSE(dialog.EntryList()->isEnabled());
  EXPECT_EQ(dialog.EntryList()->count(), 3) << "Auto and the entries";
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Internet address is required");

  dialog.ScanBox()->setChecked(true);
  EXPECT_FALSE(dialog.SourceGroup()->isEnabled());
  EXPECT_TRUE(dialog.EntryList()->isEnabled());
  dialog.EntryList()->setCurrentIndex(2);
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  TInternetAddressChoice choice = dialog.Choice();
  EXPECT_TRUE(choice.scan);
  EXPECT_EQ(choice.scanIndex, 1);
  EXPECT_EQ(choice.address, "");
}

TEST(AskUrlDialog, ShowsTheRequestAndGivesTheTrimmedAddress) {
  TestApplication();
  FakeUserInterface ui;
  TInternetAddressRequest request{" http://a.org/ ", true, true, false, {}};
  TfmAskUrl dialog(request, ui);
  EXPECT_FALSE(dialog.ScanBox()->isEnabled()) << "no entries to start from";
  dialog.accept();
  TInternetAddressChoice choice = dialog.Choice();
  EXPECT_EQ(choice.address, "http://a.org/");
  EXPECT_TRUE(choice.explore);
  EXPECT_TRUE(choice.takeImages);
  EXPECT_FALSE(choice.siteIcons);
  EXPECT_FALSE(choice.scan);
  EXPECT_EQ(choice.scanIndex, -1);
}

}  // namespace
}  // namespace varnel::test
