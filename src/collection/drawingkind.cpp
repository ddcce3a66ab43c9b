#include "collection/drawingkind.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string_view>
#include <vector>

namespace varnel {

namespace {

std::string_view AsText(std::span<const uint8_t> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::string_view WithoutLeadingSpace(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
    text.remove_prefix(1);
  return text;
}

bool IsSvgText(std::string_view text) {
  text = WithoutLeadingSpace(text);
  return text.starts_with("<") && text.find("<svg") != std::string_view::npos;
}

// The start of gzip-compressed data, as much as the head's bytes give.
std::vector<uint8_t> InflatedHead(std::span<const uint8_t> head) {
  std::vector<uint8_t> output(kDrawingHeadBytes);
  z_stream stream{};
  if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) return {};
  stream.next_in = const_cast<Bytef*>(head.data());
  stream.avail_in = uInt(head.size());
  stream.next_out = output.data();
  stream.avail_out = uInt(output.size());
  inflate(&stream, Z_SYNC_FLUSH);
  output.resize(output.size() - stream.avail_out);
  inflateEnd(&stream);
  return output;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
           return a == std::tolower(static_cast<unsigned char>(b));
         });
}

}  // namespace

std::optional<TFileKindInfo> DetectDrawingKind(std::span<const uint8_t> head) {
  head = head.first(std::min(head.size(), kDrawingHeadBytes));
  std::string_view text = AsText(head);
  if (text.starts_with("%PDF-")) return TFileKindInfo{TFileKind::fkVectorDrawing, kDrawingPdf};
  if (head.size() > 3 && head[0] == 0x1F && head[1] == 0x8B && head[2] == 8) {
    std::vector<uint8_t> inflated = InflatedHead(head);
    if (IsSvgText(AsText(inflated))) return TFileKindInfo{TFileKind::fkVectorDrawing, kDrawingSvgz};
    return std::nullopt;
  }
  if (IsSvgText(text)) return TFileKindInfo{TFileKind::fkVectorDrawing, kDrawingSvg};
  if (StartsWithNoCase(WithoutLeadingSpace(text), "data:"))
    return TFileKindInfo{TFileKind::fkDataUri, 0};
  return std::nullopt;
}

}  // namespace varnel
