// The row of PCX pictures: recognised by their header, imported (searches pass them by).

#include "collection/kindreaders.h"
#include "icons/pcximage.h"

namespace varnel {

namespace {

// The maker byte, a known version, run-length coding or none, and a known bit depth.
std::optional<TFileKindInfo> DetectPcx(KindProbe& probe) {
  const uint8_t* b = probe.Head().data();
  if ((b[0] == 0x0A || b[0] == 0x0C) && (b[1] == 0 || b[1] == 2 || b[1] == 3 || b[1] == 5) &&
      b[2] < 2 && (b[3] == 0 || b[3] == 1 || b[3] == 4 || b[3] == 8) && probe.Size() > 128)
    return TFileKindInfo{TFileKind::fkPcx, 0};
  return std::nullopt;
}

TPicture ReadPcxPicture(const MappedFile& file) {
  return {ReadPcxAs32Bit(file.Bytes()), std::nullopt};
}

}  // namespace

const FileFormat& PcxFormat() {
  static const FileFormat kRow{.kind = TFileKind::fkPcx,
                               .kindName = "fkPcx",
                               .group = TKindGroup::ImportedPicture,
                               .description = "PCX image",
                               .detect = DetectPcx,
                               .readPicture = ReadPcxPicture,
                               .typeWord = "PCX",
                               .pictureByExtension = PcxPictureFormat};
  return kRow;
}

}  // namespace varnel
