#include "app/customiconsdialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <cstdlib>
#include <filesystem>

#include "apptestsupport.h"
#include "support/corpus.h"

namespace varnel {
namespace {

// HOME and the XDG folders in a temporary folder while the dialog lives.
class CustomIconsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication();
    for (const auto& [name, value] : {std::pair<const char*, std::string>{"HOME", dir.Path()},
                                      {"XDG_CONFIG_HOME", dir.File("config")},
                                      {"XDG_DATA_HOME", dir.File("data")},
                                      {"GSETTINGS_BACKEND", "keyfile"}}) {
      const char* old = std::getenv(name);
      saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
      ::setenv(name, value.c_str(), 1);
    }
  }
  void TearDown() override {
    for (const auto& [name, value] : saved)
      value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
  }

  test::TempDir dir;
  std::vector<std::pair<const char*, std::optional<std::string>>> saved;
};

TEST_F(CustomIconsDialogTest, PagesListTheDesktopsIconsAndDefaultWaitsForApply) {
  TfmCIcons dialog;
  QTabWidget* pages = dialog.Pages();
  ASSERT_EQ(pages->count(), 6);
  EXPECT_EQ(pages->tabText(4), QStringLiteral("Folders"));
  EXPECT_EQ(pages->tabText(5), QStringLiteral("Settings"));
  auto* desktop = qobject_cast<QListWidget*>(pages->widget(0));
  ASSERT_NE(desktop, nullptr);
  EXPECT_FALSE(desktop->findItems(QStringLiteral("Recycle (Full)"), Qt::MatchExactly).isEmpty());
  EXPECT_FALSE(dialog.ApplyButton()->isEnabled());

  desktop->setCurrentRow(0);
  for (QPushButton* button : dialog.findChildren<QPushButton*>())
    if (button->text() == QStringLiteral("&Default") && button->isVisibleTo(&dialog))
      button->click();
  EXPECT_TRUE(dialog.ApplyButton()->isEnabled());
  dialog.reject();
  EXPECT_FALSE(std::filesystem::exists(dir.File("data/icons/Varnel-Custom")));
}

TEST_F(CustomIconsDialogTest, RepairOfTheThemeCacheAsksNoRestartOfWindows) {
  TfmCIcons dialog;
  test::UnansweredModals().clear();
  for (QPushButton* button : dialog.Pages()->widget(5)->findChildren<QPushButton*>())
    if (button->text() == QStringLiteral("Repair")) button->click();
  EXPECT_TRUE(test::UnansweredModals().empty()) << test::UnansweredModals().front();
  dialog.reject();
}

TEST_F(CustomIconsDialogTest, FoldersPageOffersTheLocalHardDrivesAndRendersItsMnemonics) {
  TfmCIcons dialog;
  QWidget* folders = dialog.Pages()->widget(4);
  auto* drives = folders->findChild<QComboBox*>();
  ASSERT_NE(drives, nullptr);
  ASSERT_GE(drives->count(), 2);
  EXPECT_EQ(drives->itemText(1), QStringLiteral("/"));  // the root file system first
  auto* field = folders->findChild<QLineEdit*>();
  ASSERT_NE(field, nullptr);
  drives->setCurrentIndex(1);
  emit drives->activated(1);
  EXPECT_EQ(field->text(), QStringLiteral("/"));
  for (QLabel* label : folders->findChildren<QLabel*>())
    if (label->text().contains('&'))
      EXPECT_NE(label->buddy(), nullptr) << label->text().toStdString();  // else "&" shows
  dialog.reject();
}

}  // namespace
}  // namespace varnel
