#pragma once
// Writing exported files: each goes to a temporary file beside its target that is renamed over
// it when complete, so that a failed write never leaves half a file. Unlike the saving of
// collections, the data is not flushed to disk first: exports are copies that can be made
// again, and a folder of hundreds of them is written many times faster without.

#include <cstdint>
#include <span>
#include <string>

namespace varnel {

class TAdvancedIcon;

// Raises EFileError "Cannot write file "<path>". <reason>" when the file cannot be written.
void WriteExportedFile(const std::string& path, std::span<const uint8_t> bytes);
// The icon as an icon file; raises "No images in icon" for an icon without images.
void WriteExportedIcon(const TAdvancedIcon& icon, const std::string& path);
// The icon as a cursor file with its hot spots; raises as WriteExportedIcon.
void WriteExportedCursor(const TAdvancedIcon& icon, const std::string& path);

}  // namespace varnel
