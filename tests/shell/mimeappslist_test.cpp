#include "shell/mimeappslist.h"

#include <gtest/gtest.h>

namespace varnel {
namespace {

constexpr const char* kType = "application/x-varnel-collection";
constexpr const char* kOurs = "application/x-varnel-collection=varnel.desktop;";

// Sets our default and takes it away again the way the associations do, giving back the text.
std::string SetAndRestore(const std::string& text) {
  MimeAppsList list(text);
  std::optional<std::string> old = list.DefaultLine(kType);
  MimeAppsList::Added added = list.SetDefaultLine(kType, kOurs);
  EXPECT_EQ(MimeAppsList(list.Text()).DefaultApplication(kType), "varnel.desktop") << text;
  MimeAppsList reread(list.Text());
  if (old)
    reread.SetDefaultLine(kType, *old);
  else
    reread.RemoveDefault(kType);
  if (added != MimeAppsList::Added::Line)
    reread.RemoveEmptySection(added == MimeAppsList::Added::SectionAfterBlankLine);
  return reread.Text();
}

TEST(MimeAppsListTest, SettingAndRestoringADefaultGivesTheTextBackByteForByte) {
  for (const std::string text : {
           "",
           "\n",
           "[Added Associations]\ntext/plain=gedit.desktop;",
           "[Added Associations]\ntext/plain=gedit.desktop;\n",
           "[Default Applications]\ntext/plain=gedit.desktop;\n\n[Added Associations]\nx=y\n",
           "# comment\r\n[Default Applications]\r\n  APPLICATION/X-varnel-collection = "
           "a.desktop;b;\r\n",
           "[Default Applications]\n\n\n",
       })
    EXPECT_EQ(SetAndRestore(text), text);
}

TEST(MimeAppsListTest, TheDefaultIsTheFirstEntryOfItsSectionOnly) {
  MimeAppsList list(
      "[Added Associations]\napplication/x-varnel-collection=other.desktop;\n"
      "[Default Applications]\nApplication/X-Varnel-Collection= first.desktop ;second.desktop;\n");
  EXPECT_EQ(list.DefaultApplication(kType), "first.desktop");
  EXPECT_EQ(list.DefaultApplication("image/png"), "");
  EXPECT_FALSE(MimeAppsList("[Added Associations]\nimage/png=a.desktop\n").HasDefaultSection());
}

TEST(MimeAppsListTest, ANewDefaultGoesBeforeTheBlankLinesEndingItsSection) {
  MimeAppsList list("[Default Applications]\na=b;\n\n[Added Associations]\n");
  list.SetDefaultLine(kType, kOurs);
  EXPECT_EQ(list.Text(),
            std::string("[Default Applications]\na=b;\n") + kOurs + "\n\n[Added Associations]\n");
}

}  // namespace
}  // namespace varnel
