// Letter case beyond ASCII.

#include "platform/casefold.h"

#include <gtest/gtest.h>

namespace varnel {
namespace {

TEST(CaseFoldTest, FoldsEveryAlphabetAndKeepsInvalidBytes) {
  EXPECT_EQ(FoldCase("\xC3\x84RGER Stra\xC3\x9F"
                     "e"),
            "\xC3\xA4rger stra\xC3\x9F"
            "e");
  EXPECT_EQ(FoldCase("\xD0\x9C\xD0\x98\xD0\xA0"), "\xD0\xBC\xD0\xB8\xD1\x80");  // МИР -> мир
  EXPECT_EQ(FoldCase("A\xFF\xC3"), "a\xFF\xC3");  // bytes that are no UTF-8 stay
  EXPECT_EQ(FoldCase("\xF5\x80\x80\x80"), "\xF5\x80\x80\x80");
  EXPECT_TRUE(SameTextFolded("\xC3\x89t\xC3\xA9", "\xC3\xA9T\xC3\x89"));
  EXPECT_LT(CompareTextFolded("apple", "Banana"), 0);
}

}  // namespace
}  // namespace varnel
