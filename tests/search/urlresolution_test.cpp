#include "search/urlresolution.h"

#include <gtest/gtest.h>

namespace varnel {
namespace {

struct Resolution {
  const char* reference;
  const char* target;
};

// The examples of RFC 3986, sections 5.4.1 and 5.4.2, against their base.
constexpr Resolution kRfcExamples[] = {
    {"g:h", "g:h"},
    {"g", "http://a/b/c/g"},
    {"./g", "http://a/b/c/g"},
    {"g/", "http://a/b/c/g/"},
    {"/g", "http://a/g"},
    {"//g", "http://g"},
    {"?y", "http://a/b/c/d;p?y"},
    {"g?y", "http://a/b/c/g?y"},
    {"#s", "http://a/b/c/d;p?q#s"},
    {"g#s", "http://a/b/c/g#s"},
    {"g?y#s", "http://a/b/c/g?y#s"},
    {";x", "http://a/b/c/;x"},
    {"g;x", "http://a/b/c/g;x"},
    {"g;x?y#s", "http://a/b/c/g;x?y#s"},
    {"", "http://a/b/c/d;p?q"},
    {".", "http://a/b/c/"},
    {"./", "http://a/b/c/"},
    {"..", "http://a/b/"},
    {"../", "http://a/b/"},
    {"../g", "http://a/b/g"},
    {"../..", "http://a/"},
    {"../../", "http://a/"},
    {"../../g", "http://a/g"},
    {"../../../g", "http://a/g"},
    {"../../../../g", "http://a/g"},
    {"/./g", "http://a/g"},
    {"/../g", "http://a/g"},
    {"g.", "http://a/b/c/g."},
    {".g", "http://a/b/c/.g"},
    {"g..", "http://a/b/c/g.."},
    {"..g", "http://a/b/c/..g"},
    {"./../g", "http://a/b/g"},
    {"./g/.", "http://a/b/c/g/"},
    {"g/./h", "http://a/b/c/g/h"},
    {"g/../h", "http://a/b/c/h"},
    {"g;x=1/./y", "http://a/b/c/g;x=1/y"},
    {"g;x=1/../y", "http://a/b/c/y"},
    {"g?y/./x", "http://a/b/c/g?y/./x"},
    {"g?y/../x", "http://a/b/c/g?y/../x"},
    {"g#s/./x", "http://a/b/c/g#s/./x"},
    {"g#s/../x", "http://a/b/c/g#s/../x"},
    {"http:g", "http://a/b/c/g"},  // the lenient reading for a reference of the base's scheme
};

TEST(UrlResolution, ExamplesOfTheStandard) {
  for (const Resolution& r : kRfcExamples)
    EXPECT_EQ(ResolveReference("http://a/b/c/d;p?q", r.reference), r.target) << r.reference;
}

TEST(UrlResolution, AbsoluteAndSchemeRelativeReferences) {
  EXPECT_EQ(ResolveReference("https://a/b", "//cdn/x/../y.ico"), "https://cdn/y.ico");
  EXPECT_EQ(ResolveReference("https://a/b", "HTTP://Host/X"), "http://Host/X");
  EXPECT_EQ(ResolveReference("http://a", "x.ico"), "http://a/x.ico");
  EXPECT_EQ(ResolveReference("http://a", "?q"), "http://a?q");
  EXPECT_EQ(ResolveReference("http://a/b/", "c:d"), "c:d");
  EXPECT_EQ(ResolveReference("http://a/b/", "1c:d"), "http://a/b/1c:d");
}

TEST(UrlResolution, SchemeAndFragment) {
  EXPECT_EQ(AddressScheme("HTTPS://x"), "https");
  EXPECT_EQ(AddressScheme("/a:b"), "");
  EXPECT_EQ(AddressScheme("mailto:x"), "mailto");
  EXPECT_EQ(WithoutFragment("http://a/b#c#d"), "http://a/b");
  EXPECT_EQ(WithoutFragment("http://a/b"), "http://a/b");
}

}  // namespace
}  // namespace varnel
