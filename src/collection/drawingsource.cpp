#include "collection/drawingsource.h"

#include <zlib.h>

#include "base/mappedfile.h"
#include "collection/drawingkind.h"
#include "icons/vectorfile.h"

namespace varnel {

namespace {

// Inflates gzip data, refusing output beyond kMaxDrawingFileBytes.
std::optional<std::vector<uint8_t>> Gunzip(std::span<const uint8_t> data) {
  z_stream stream{};
  if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) return std::nullopt;
  std::vector<uint8_t> out;
  stream.next_in = const_cast<Bytef*>(data.data());
  stream.avail_in = static_cast<uInt>(std::min<size_t>(data.size(), UINT32_MAX));
  int status = Z_OK;
  while (status == Z_OK) {
    if (out.size() >= kMaxDrawingFileBytes) break;
    size_t done = out.size();
    out.resize(std::min<uint64_t>(done + 65536, kMaxDrawingFileBytes));
    stream.next_out = out.data() + done;
    stream.avail_out = static_cast<uInt>(out.size() - done);
    status = inflate(&stream, Z_NO_FLUSH);
    out.resize(out.size() - stream.avail_out);
    if (status == Z_BUF_ERROR && stream.avail_in > 0) status = Z_OK;
  }
  inflateEnd(&stream);
  if (status != Z_STREAM_END) return std::nullopt;
  return out;
}

}  // namespace

std::optional<std::vector<uint8_t>> SvgSourceOf(const std::string& path) {
  if (path.empty()) return std::nullopt;
  std::shared_ptr<const MappedFile> file = MappedFile::TryOpen(path);
  if (!file || file->Size() > kMaxDrawingFileBytes) return std::nullopt;
  std::span<const uint8_t> bytes = file->Bytes();
  std::optional<TFileKindInfo> kind =
      DetectDrawingKind(bytes.first(std::min(bytes.size(), kDrawingHeadBytes)));
  if (!kind || kind->kind != TFileKind::fkVectorDrawing) return std::nullopt;
  if (kind->subKind == kDrawingSvg) return std::vector<uint8_t>(bytes.begin(), bytes.end());
  if (kind->subKind == kDrawingSvgz) return Gunzip(bytes);
  return std::nullopt;
}

}  // namespace varnel
