#pragma once
// TPCXImage: a PCX picture (1, 2, 4 or 8 bits in one plane, 8 bits in three or four planes,
// 1 bit in three or four planes).

#include <span>
#include <string>

#include "base/stream.h"
#include "graphics/bitmap.h"
#include "graphics/pictureformats.h"

namespace varnel {

class TPCXImage : public TBitmap {
 public:
  // Reads the picture from the stream position to its end. Raises EInvalidGraphic "Invalid PCX
  // image" for a wrong first byte, a size the rows cannot hold or more pixels than the data can
  // describe, "Invalid Color Format" for a layout of planes and bits it does not know.
  void LoadFromStream(Stream& stream);
};

// A PCX file's picture as a 32-bit bitmap: opaque, but for four-plane pictures with alpha.
TBitmap ReadPcxAs32Bit(std::span<const uint8_t> bytes);

// Reads a PCX file into bitmap: 1-bit pictures stay 1-bit, the others keep their format.
void LoadPcxFile(TBitmap& bitmap, const std::string& fileName);

// The picture format files named .pcx are read by when their content did not tell their kind;
// it is registered for the extension at start-up.
const TPictureFormat& PcxPictureFormat();

}  // namespace varnel
