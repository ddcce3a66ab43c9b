#pragma once
// Resolution of relative references against a base address (RFC 3986, section 5).

#include <string>
#include <string_view>

namespace varnel {

// The target of reference seen from base: "//host/x" takes base's scheme, "/x" base's
// authority, "?q" base's path, "x" and "../x" base's folder; dot segments are removed. An
// absolute reference is returned as it is, with its scheme in lower case; one whose scheme is
// base's and that has no authority ("http:x") is taken as relative. The fragment is kept.
std::string ResolveReference(std::string_view base, std::string_view reference);

// The scheme of an absolute address in lower case ("http"), or empty when it has none.
std::string AddressScheme(std::string_view address);

// Address without its "#fragment".
std::string_view WithoutFragment(std::string_view address);

}  // namespace varnel
