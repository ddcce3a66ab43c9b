#pragma once
// Why a file gave no icon, in the words list and import print: "empty file", "not recognised",
// what failed in a damaged file, or the kind that holds none.

#include <string>
#include <vector>

namespace varnel::cli {

// The reason for path, given the errors its readers reported (the generic "no image" ones are
// passed over).
std::string NoIconsReason(const std::string& path, const std::vector<std::string>& readErrors);

}  // namespace varnel::cli
