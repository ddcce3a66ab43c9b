#pragma once
// Running a small helper program of the desktop (gsettings, gtk-update-icon-cache) and reading
// what it prints.

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace varnel {

// The first executable file named name in the folders of $PATH; empty when there is none.
std::string FindProgramOnPath(const std::string& name);

// Runs arguments[0] (looked up on $PATH) with stdin and stderr on /dev/null and returns what it
// wrote on stdout (at most 1 MiB is kept); nothing when it could not start, ended with a status
// other than 0, or was still running after timeout (it is then killed).
std::optional<std::string> RunProgramOutput(
    const std::vector<std::string>& arguments,
    std::chrono::milliseconds timeout = std::chrono::seconds(20));

}  // namespace varnel
