#pragma once
// Resolution of relative references against a base address (RFC 3986, section 5).

#include <string>
#include <string_view>

namespace varnel {

// The target of reference seen from base: an absolute reference stays as it is (its dot
// segments removed), "//host/x" takes base's scheme, "/x" the base's authority, "?q" the base's
// path, "x" and "../x" the base's folder. The fragment is kept; base must be absolute.
std::string ResolveReference(std::string_view base, std::string_view reference);

// The scheme of an absolute address in lower case ("http"), or empty when it has none.
std::string AddressScheme(std::string_view address);

// Address without its "#fragment".
std::string_view WithoutFragment(std::string_view address);

}  // namespace varnel
