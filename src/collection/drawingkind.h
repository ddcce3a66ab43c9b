#pragma once
// Recognising the text and vector picture files by their first bytes: SVG drawings (also
// gzip-compressed), PDF documents (Illustrator files among them) and data-URI text files.

#include <cstdint>
#include <optional>
#include <span>

#include "collection/filekind.h"

namespace varnel {

// Sub-kinds of fkVectorDrawing.
constexpr int kDrawingSvg = 1;
constexpr int kDrawingSvgz = 2;
constexpr int kDrawingPdf = 3;

// How many bytes from the start of a file the test looks at.
constexpr size_t kDrawingHeadBytes = 4096;

// fkVectorDrawing (with its sub-kind) or fkDataUri for a file beginning with head; nothing for
// any other file.
std::optional<TFileKindInfo> DetectDrawingKind(std::span<const uint8_t> head);

}  // namespace varnel
