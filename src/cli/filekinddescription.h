#pragma once
// The kinds of files as a user reads them ("icon file", "module (32-bit PE)").

#include <string>

#include "collection/filekind.h"

namespace varnel::cli {

// A readable description of a detected kind, its sub-kind included where it tells something.
// path is read again only to tell a RAR 5 archive from a ZIP archive, which share a kind.
std::string DescribeFileKind(const TFileKindInfo& info, const std::string& path);

}  // namespace varnel::cli
