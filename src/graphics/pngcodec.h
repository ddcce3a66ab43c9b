#pragma once
// PNG decoding and encoding through libpng.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "graphics/bitmap.h"

namespace varnel {

// The most bytes a decoded picture may take at 4 bytes a pixel (256 MiB): a PNG whose header
// claims more (width * height * 4 beyond it) is refused before anything is allocated.
constexpr int64_t kMaxPngDecodeBytes = int64_t(256) << 20;
// The most memory libpng may take for one ancillary chunk (text, colour profile, ...).
constexpr size_t kMaxPngChunkBytes = size_t(8) << 20;

constexpr uint8_t kPngSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

// True when bytes begin with the 8-byte PNG signature.
bool HasPngSignature(std::span<const uint8_t> bytes);

struct PngHeader {
  uint32_t width = 0;
  uint32_t height = 0;
  int bitDepth = 0;
  int colorType = 0;  // 0 grey, 2 RGB, 3 palette, 4 grey+alpha, 6 RGBA
};

// Reads the IHDR chunk that follows the signature; nullopt when absent or short.
std::optional<PngHeader> ReadPngHeader(std::span<const uint8_t> png);

// True when the chunks after the signature all lie within the data up to an IEND chunk, with
// image data (IDAT) before it; a PNG cut short or with a damaged chunk length fails. Nothing is
// inflated and no checksum is checked.
bool HasCompletePngChunks(std::span<const uint8_t> png);

// True when a tRNS chunk comes before the first IDAT; damaged chunk lengths end the walk.
bool HasTransparencyChunk(std::span<const uint8_t> png);

// The format DecodePng gives this PNG, read from its header chunks alone (IHDR, and whether a
// tRNS chunk comes before the image data) without inflating anything; nothing when the header
// is missing or short.
std::optional<PixelFormat> NaturalPngFormat(std::span<const uint8_t> png);

// Decodes to the natural bitmap format: palette PNGs of 1, 2, 4, 8 bits give Bits1, Bits4,
// Bits4, Bits8 with their palette; greyscale of up to 8 bits gives an indexed bitmap with a grey
// palette (16-bit grey gives Bits8); RGB gives Bits24; anything with an alpha channel or a tRNS
// chunk outside palette images gives Bits32 with the alpha in the fourth byte (palette images
// keep their palette; their tRNS transparency is only seen by DecodePngRgba). Samples are taken
// as stored: no gamma or colour-profile correction; 16-bit samples keep their high byte.
// Raises EInvalidGraphic("PNG image is not valid") on damaged or truncated data, a width or
// height over kMaxBitmapDimension, a picture over kMaxPngDecodeBytes, or a header that claims
// more pixels than its compressed data could hold.
TBitmap DecodePng(std::span<const uint8_t> png);

// Whether DecodePng would succeed: an icon image is taken from its header chunks alone, so its
// stored data may still be damaged, and a file that kept it as it is would not read back.
bool PngDecodes(std::span<const uint8_t> png);

// Decodes to Bits32 with alpha in the fourth byte, whatever the PNG's own format
// (palette transparency included).
TBitmap DecodePngRgba(std::span<const uint8_t> png);

// Encodes a bitmap: Bits32 as RGBA (alpha from the fourth byte); Bits24, Bits15, Bits16 as RGB;
// Bits1, Bits4, Bits8 as palette PNGs of that bit depth, with transparentIndex (when given)
// fully transparent through a tRNS chunk. The palette written covers every index used (missing
// entries black). An empty bitmap raises EInvalidGraphic.
std::vector<uint8_t> EncodePng(const TBitmap& bitmap, std::optional<int> transparentIndex = {});

}  // namespace varnel
