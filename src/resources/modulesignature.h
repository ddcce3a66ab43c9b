#pragma once
// The parts of a PE image that guard its integrity: the checksum field and the certificate
// table (an Authenticode signature). A signature cannot survive any change of the image, so a
// rewritten image loses it cleanly rather than keeping a table that no longer matches.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace varnel {

class TPEModule;

// What the user is told when an update removed a signature.
inline constexpr const char* kSignatureRemovedNotice =
    "The file's digital signature was removed: a signature cannot survive any change of the file";

// Where the guarding fields lie in the bytes of a PE32 or PE32+ image.
struct PEGuardFields {
  size_t checkSumOffset = 0;
  // The certificate table's directory entry; nothing when the header has no such entry.
  std::optional<size_t> certificateEntryOffset;
};

// The fields of an image whose headers hold them, or nothing (no PE image, headers cut short).
std::optional<PEGuardFields> LocatePEGuardFields(std::span<const uint8_t> image);

// Zeroes the certificate table's directory entry and, when the table ends the image (up to its
// 8-byte alignment), cuts it off. True when the image referred to a table.
bool RemoveCertificateTable(std::vector<uint8_t>& image);
// The same for a decoded image of fileSize bytes: the table is cut from the overlay.
bool RemoveCertificateTable(TPEModule& module, uint64_t fileSize);

// Recomputes the checksum of an image whose checksum field is not zero; a zero field stays.
void RefreshNonZeroCheckSum(std::vector<uint8_t>& image);

}  // namespace varnel
