// The file associations dialog and the file-types editor as the user works them.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <set>

#include "app/edittypesdialog.h"
#include "app/fileassdialog.h"
#include "apptestsupport.h"

namespace varnel {
namespace {

// Associations held in memory: the extensions that open with the program.
struct MemoryAssociations : FileAssociations {
  std::set<std::string> associated;
  bool IsAssociated(const TAssociatedType& type) const override {
    return associated.count(type.extension) > 0;
  }
  void SetAssociation(bool doRegister, const TAssociatedType& type) override {
    doRegister ? void(associated.insert(type.extension)) : void(associated.erase(type.extension));
  }
};

QPushButton* ButtonNamed(QWidget& dialog, const QString& text) {
  for (QPushButton* button : dialog.findChildren<QPushButton*>())
    if (button->text() == text) return button;
  return nullptr;
}

TEST(FileAssDialog, BoxesShowTheAssociationsAndRemoveAllClearsThemOnlyInTheDialog) {
  test::TestApplication();
  MemoryAssociations associations;
  associations.associated = {"icc", "nil"};
  TfmFileAss dialog(associations);
  EXPECT_EQ(dialog.Box(0)->text(), "ICL");
  EXPECT_FALSE(dialog.Box(0)->isChecked());
  EXPECT_TRUE(dialog.Box(2)->isChecked());
  EXPECT_TRUE(dialog.Box(3)->isChecked());
  ButtonNamed(dialog, "&Remove all")->click();
  EXPECT_EQ(associations.associated, (std::set<std::string>{"icc", "nil"}));
  dialog.Box(1)->setChecked(true);
  dialog.Choices().Apply(associations);
  EXPECT_EQ(associations.associated, (std::set<std::string>{"il"}));
  ButtonNamed(dialog, "Check &all")->click();
  dialog.Choices().Apply(associations);
  EXPECT_EQ(associations.associated.size(), 4u);
}

TEST(EditFileTypesDialog, EnterInTheMaskFieldAddsTheMaskAndLeavesTheDialogOpen) {
  test::TestApplication();
  TfmEditFileTypes dialog("*.ico;*.CUR", ';', "*.exe");
  dialog.show();
  EXPECT_EQ(dialog.MaskField()->text(), "*.ico");
  dialog.MaskField()->setText(" *.ani ");
  QTest::keyClick(dialog.MaskField(), Qt::Key_Return);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.ListBox()->count(), 3);
  EXPECT_EQ(dialog.ListBox()->item(0)->text(), "*.ani");
  dialog.ListBox()->setCurrentRow(2);
  EXPECT_EQ(dialog.MaskField()->text(), "*.cur");
  ButtonNamed(dialog, "&Delete")->click();
  EXPECT_EQ(dialog.List().Text(), "*.ani;*.ico");
  EXPECT_EQ(dialog.MaskField()->text(), "*.ico");
  ButtonNamed(dialog, "D&efault")->click();
  EXPECT_EQ(dialog.ListBox()->count(), 1);
}

}  // namespace
}  // namespace varnel
