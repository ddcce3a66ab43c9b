#include "shell/registryfileassociations.h"

#include <gtest/gtest.h>

#include "shell/associationchoices.h"
#include "support/corpus.h"

namespace varnel {
namespace {

constexpr const char* kProgram = "/opt/Varnel/varnel";

class RegistryAssociationsTest : public ::testing::Test {
 protected:
  const TAssociatedType& Icl() const { return *FindAssociatedType("ICL"); }

  // Gives ".icl" the class X with a content type, and the user's own choice Y.
  void GiveIclToAnotherProgram() {
    TRegistry reg(store_);
    reg.SetRootKey(TRootKey::HKEY_CLASSES_ROOT);
    ASSERT_TRUE(reg.OpenKey("\\.icl", true));
    reg.WriteString("", "X");
    reg.WriteString("Content Type", "application/x-other");
    TRegistry user(store_);
    ASSERT_TRUE(user.OpenKey(RegistryFileAssociations::UserChoiceKey("icl"), true));
    user.WriteString("ProgID", "Y");
  }

  std::string Read(TRootKey root, const std::string& key, const std::string& name) {
    TRegistry reg(store_);
    reg.SetRootKey(root);
    return reg.OpenKeyReadOnly(key) ? reg.ReadString(name) : "<no key>";
  }
  std::string Classes(const std::string& key, const std::string& name = "") {
    return Read(TRootKey::HKEY_CLASSES_ROOT, key, name);
  }
  std::string UserChoice(const std::string& name) {
    return Read(TRootKey::HKEY_CURRENT_USER, RegistryFileAssociations::UserChoiceKey("icl"), name);
  }

  test::TempDir dir_;
  TRegistryStore store_{dir_.File("registry.txt")};
  RegistryFileAssociations associations_{store_, kProgram};
};

TEST_F(RegistryAssociationsTest, RegisteringOverAnotherClassKeepsItAndUnregisteringPutsItBack) {
  GiveIclToAnotherProgram();
  std::string before = store_.Text();
  EXPECT_FALSE(associations_.IsAssociated(Icl()));

  associations_.SetAssociation(true, Icl());
  EXPECT_TRUE(associations_.IsAssociated(Icl()));
  EXPECT_EQ(Classes("\\.icl"), "iclFile_IA");
  EXPECT_EQ(Classes("\\.icl", "Content Type"), "Icon Library");
  EXPECT_EQ(Classes("\\.icl\\UndoClass_A"), "X");
  EXPECT_EQ(Classes("\\.icl\\UndoClass_A", "Content Type"), "application/x-other");
  EXPECT_EQ(Classes("\\iclFile_IA"), "Icon Library");
  EXPECT_EQ(Classes("\\iclFile_IA\\shell"), "View");
  EXPECT_EQ(Classes("\\iclFile_IA\\shell\\View\\Command"), "/opt/Varnel/varnel \"%1\"");
  EXPECT_EQ(Classes("\\iclFile_IA\\DefaultIcon"), "/opt/Varnel/varnel,0");
  EXPECT_EQ(UserChoice("ProgID"), "iclFile_IA");
  EXPECT_EQ(UserChoice("ProgID_Undo_A"), "Y");

  // A second registration finds its own class and keeps the first undo information.
  associations_.SetAssociation(true, Icl());
  EXPECT_EQ(Classes("\\.icl\\UndoClass_A"), "X");
  EXPECT_EQ(UserChoice("ProgID_Undo_A"), "Y");

  associations_.SetAssociation(false, Icl());
  EXPECT_FALSE(associations_.IsAssociated(Icl()));
  EXPECT_EQ(Classes("\\.icl"), "X");
  EXPECT_EQ(Classes("\\.icl", "Content Type"), "application/x-other");
  EXPECT_EQ(Classes("\\.icl\\UndoClass_A"), "<no key>");
  EXPECT_EQ(Classes("\\iclFile_IA"), "<no key>");
  EXPECT_EQ(UserChoice("ProgID"), "Y");
  EXPECT_FALSE(store_.FindValue(
      "HKEY_CURRENT_USER" + RegistryFileAssociations::UserChoiceKey("icl"), "ProgID_Undo_A"));
}

TEST_F(RegistryAssociationsTest, UnregisteringAForeignOrMissingAssociationChangesNothing) {
  GiveIclToAnotherProgram();
  std::string before = store_.Text();
  RemoveAllAssociations(associations_);
  EXPECT_EQ(store_.Text(), before);

  // Another program's copy of the class, with a different command, is not this program's.
  RegistryFileAssociations elsewhere(store_, "/usr/bin/varnel");
  associations_.SetAssociation(true, *FindAssociatedType("nil"));
  TRegistry user(store_);
  ASSERT_TRUE(user.OpenKey(RegistryFileAssociations::UserChoiceKey("nil"), true));
  user.DeleteValue("ProgID");
  EXPECT_TRUE(associations_.IsAssociated(*FindAssociatedType("nil")));
  EXPECT_FALSE(elsewhere.IsAssociated(*FindAssociatedType("nil")));
}

TEST_F(RegistryAssociationsTest, TheUserChoiceDecidesWhenSetAndLetterCaseIsIgnored) {
  associations_.SetAssociation(true, Icl());
  TRegistry user(store_);
  ASSERT_TRUE(user.OpenKey(RegistryFileAssociations::UserChoiceKey("icl"), true));
  user.WriteString("ProgID", "ICLFILE_ia");
  EXPECT_TRUE(associations_.IsAssociated(Icl()));
  user.WriteString("ProgID", "SomeViewer");
  EXPECT_FALSE(associations_.IsAssociated(Icl()));
}

TEST_F(RegistryAssociationsTest, AnExtensionThatHadNoClassIsDeletedAgain) {
  const TAssociatedType& icc = *FindAssociatedType("icc");
  associations_.SetAssociation(true, icc);
  EXPECT_EQ(Classes("\\iccfile_IA\\DefaultIcon"), "%1");
  EXPECT_EQ(Classes("\\.icc\\UndoClass_A"), "<no key>");
  associations_.SetAssociation(false, icc);
  EXPECT_EQ(Classes("\\.icc"), "<no key>");
  EXPECT_EQ(Classes("\\iccfile_IA"), "<no key>");
  EXPECT_EQ(
      Read(TRootKey::HKEY_CURRENT_USER, RegistryFileAssociations::UserChoiceKey("icc"), "ProgID"),
      "");
}

TEST_F(RegistryAssociationsTest, TheDialogShowsAndAppliesEachTypeOnItsOwn) {
  FileAssociationChoices choices(associations_);
  for (size_t i = 0; i < kAssociatedTypes.size(); ++i) EXPECT_FALSE(choices.Checked(i));
  choices.CheckAll();
  choices.SetChecked(1, false);  // IL
  choices.Apply(associations_);
  FileAssociationChoices reopened(associations_);
  EXPECT_TRUE(reopened.Checked(0));
  EXPECT_FALSE(reopened.Checked(1));
  EXPECT_TRUE(reopened.Checked(2));
  EXPECT_TRUE(reopened.Checked(3));
  RemoveAllAssociations(associations_);
  EXPECT_TRUE(store_.SubKeyNames("HKEY_CLASSES_ROOT").empty());
}

}  // namespace
}  // namespace varnel
