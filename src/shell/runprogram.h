#pragma once
// Running a desktop tool (such as update-mime-database) and waiting for it.

#include <string>
#include <vector>

namespace varnel {

// Runs arguments[0], looked up on PATH, with no input and its output discarded; true when it
// ran and exited with status 0.
bool RunProgramQuietly(const std::vector<std::string>& arguments);

}  // namespace varnel
