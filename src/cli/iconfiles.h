#pragma once
// The icons a file holds, read into a session's collection in the order and with the names the
// collection gives them.

#include <exception>
#include <string>
#include <vector>

#include "cli/clisession.h"

namespace varnel::cli {

// Replaces the session's icons by those of a file: a collection file as it opens, any other
// file as the search loads it. A missing file, a folder, the reader's error and a file that gives
// no icon raise an error that says so (for the latter with the reason, see NoIconsReason).
void LoadIcons(CliSession& session, const std::string& path);
// The same, except that a file damaged part of the way (a collection file cut short) keeps the
// icons read before the damage: its error is returned, to be raised once they were shown.
[[nodiscard]] std::exception_ptr LoadIconsReadSoFar(CliSession& session, const std::string& path);

// Appends the icons of every file to collection, each with its source, so that positions count
// the icons of all files in order. A file that fails is reported and passed by; the status is
// ForEachFile's.
int AppendIconsOfFiles(TCollection& collection, const std::vector<std::string>& files);

}  // namespace varnel::cli
