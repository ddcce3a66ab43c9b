#pragma once
// Archives split into volumes: raw split sets (".000"/".001", ".z00"/".z01", ".r00"/".r01", or
// names ending in a digit) joined into one file, and RAR sets named ".partN.rar", opened with
// all their volumes at once.

#include <string>

#include <vector>
#include "collection/exportnames.h"

namespace varnel {

// Whether path (with lower-cased extension ext, taken from path when empty) is the first volume
// of a raw split set.
bool IsFirstVolume(const std::string& path, std::string ext = "");

// Joins the volumes of the set that path begins into target (replaced, its folder created).
// False when path is missing, no volume is found, or target cannot be replaced.
bool JoinVolumes(const std::string& path, const std::string& target);

// Joins a split ZIP set ("name.z01", "name.z02", ..., "name.zip") that path, its ".z01"
// volume, begins into target: one archive whose members a streaming read finds in order.
bool JoinSplitZip(const std::string& path, const std::string& target);

// The volumes to open for the archive at path: every volume of a ".partN.rar" set in order when
// path is its first, "name.rar" with its "name.r00", "name.r01", ..., else path alone.
std::vector<std::string> VolumesOf(const std::string& path);

// Whether path is a later volume of a ".partN.rar" set, an old-style RAR set or a split ZIP set
// whose first volume lies beside it; such a volume is read with its first one, not on its own.
bool IsLaterVolume(const std::string& path);

}  // namespace varnel
