#pragma once
// Files cut short: a module or Mac icon whose headers place data beyond the file's end. Their
// readers take what is there without a word, so the collection asks here whether the file is
// whole before it shows what was read.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "collection/filekind.h"

namespace varnel {

struct TFileTruncation {
  uint64_t present = 0;   // the bytes the file holds
  uint64_t declared = 0;  // the bytes its headers give it at least
};

// Whether the file of the given kind ends before the data its headers place: PE and NE modules
// (sections, segments and resources), Mac icon families (the family's length). Nothing for a
// whole file, for other kinds and for headers too short to say.
std::optional<TFileTruncation> FindTruncation(TFileKind kind, std::span<const uint8_t> bytes);

// "NAME is damaged: it ends after 4096 of the 53248 bytes its headers give".
std::string TruncationMessage(const std::string& name, const TFileTruncation& truncation);

}  // namespace varnel
