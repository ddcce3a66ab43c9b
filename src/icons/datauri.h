#pragma once
// Text files holding a PNG picture as a base64 data URI ("data:image/png;base64,...").

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "icons/advancedicon.h"

namespace varnel {

// The PNG bytes a data-URI text holds: lines trimmed, empty ones dropped, blanks and tabs
// removed, "%" escapes decoded (a decoded "%" starts an escape again); the first line must name
// an image type before "base64" and "png" and have a "," after "base64". Nothing when the text
// is no PNG data URI or gives 4 bytes or less. An escape whose characters are not hexadecimal
// digits raises Exception.
std::optional<std::vector<uint8_t>> DecodeDataUriText(std::span<const uint8_t> text);

// Adds one image from the data-URI file (mask where alpha is below alphaThreshold); nothing
// when the file holds no PNG data URI. Damaged PNG data raises EInvalidGraphic.
void LoadDataUriFile(const std::string& fileName, int alphaThreshold, TAdvancedIcon& icon);
// The same over the file's bytes.
void LoadDataUri(std::span<const uint8_t> text, int alphaThreshold, TAdvancedIcon& icon);

}  // namespace varnel
