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

// The text after the item that starts it and ends with end; empty when the item is not closed.
std::string_view After(std::string_view text, std::string_view end) {
  size_t found = text.find(end);
  return found == std::string_view::npos ? std::string_view() : text.substr(found + end.size());
}

// The text after an XML prolog: the declaration, processing instructions, comments and a
// document type (with its internal subset).
std::string_view WithoutProlog(std::string_view text) {
  for (text = WithoutLeadingSpace(text); text.starts_with("<?") || text.starts_with("<!");
       text = WithoutLeadingSpace(text)) {
    if (text.starts_with("<?"))
      text = After(text, "?>");
    else if (text.starts_with("<!--"))
      text = After(text, "-->");
    else if (size_t subset = text.find('[');
             subset != std::string_view::npos && subset < text.find('>'))
      text = After(After(text, "]"), ">");
    else
      text = After(text, ">");
  }
  return text;
}

// A drawing's first element is "svg" (with or without a namespace prefix); an HTML page that
// holds a drawing starts with another one.
bool IsSvgText(std::string_view text) {
  text = WithoutProlog(text);
  if (!text.starts_with("<")) return false;
  size_t end = text.find_first_of(" \t\r\n/>", 1);
  std::string_view name = text.substr(1, end == std::string_view::npos ? end : end - 1);
  return name == "svg" || name.ends_with(":svg");
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
