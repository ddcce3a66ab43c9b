#pragma once
// The external vector-drawing program (an installed Inkscape found on PATH), which draws SVG,
// PDF and AI files at their own size into a PNG.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace varnel {

struct ExternalRenderer {
  std::string path;
  // Versions before 1.0 take "-f IN -e OUT"; later ones "--export-type=png
  // --export-filename=OUT IN".
  bool legacyCommandLine = false;
};

// The first executable "inkscape" in the folders of searchPath (a PATH value). A program found
// is remembered for the rest of the run (for that searchPath); when none is found, the next
// call looks again.
std::optional<ExternalRenderer> FindExternalRenderer(const std::string& searchPath);
// The same for the process's PATH.
std::optional<ExternalRenderer> FindExternalRenderer();

// Runs the renderer on source, writing into a private temporary folder, and returns the PNG it
// wrote; nothing when the program failed, wrote nothing, or was still running after timeout
// (it is then killed with its process group).
std::optional<std::vector<uint8_t>> RunExternalRenderer(
    const ExternalRenderer& renderer, const std::string& source,
    std::chrono::milliseconds timeout = std::chrono::seconds(60));

}  // namespace varnel
