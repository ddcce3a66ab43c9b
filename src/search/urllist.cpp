// The crawl list file: the five signature bytes, then a zlib stream of the content: a marker
// byte 0, the packed addresses, the packed excludes, and padding up to 256 bytes.

#include "search/urllist.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <optional>

#include "base/fileio.h"
#include "base/packedstream.h"

namespace varnel {

namespace {

// The common parts of addresses, replaced by the bytes 1 to 23 in this order: longer texts
// come before the shorter ones they contain.
constexpr std::array<std::string_view, 23> kAddressParts{"https://www.",
                                                         "http://www.",
                                                         "https://",
                                                         "http://",
                                                         "ftp://",
                                                         "github.com/",
                                                         "sourceforge.net/",
                                                         ".com/",
                                                         ".org/",
                                                         ".net/",
                                                         "/icons/",
                                                         "/images/",
                                                         "/download",
                                                         ".html",
                                                         ".htm",
                                                         ".php",
                                                         ".zip",
                                                         ".ico",
                                                         ".png",
                                                         ".gif",
                                                         "index",
                                                         "icon",
                                                         "#gif#"};

// Content shorter than this gets one more string of zero bytes.
constexpr int64_t kPaddedContentSize = 256;
constexpr size_t kInflateChunk = 64 * 1024;

void WriteList(MemoryStream& stream, const std::vector<std::string>& entries) {
  WritePackedInteger(stream, int32_t(entries.size()));
  for (const std::string& entry : entries) {
    std::string packed = PackUrl(entry);
    std::string unpacked = UnpackUrl(packed);
    if (unpacked != entry) throw EUrlListEntry("s1<>s11 " + entry + ", " + unpacked);
    WritePackedString(stream, packed);
  }
}

// Reads a counted list of entries; false when the content ends before the count is reached.
bool ReadList(SpanStream& stream, std::vector<std::string>& entries) {
  entries.clear();
  try {
    int32_t count = ReadPackedInteger(stream);
    for (int32_t i = 0; i < count; ++i) entries.push_back(UnpackUrl(ReadPackedString(stream)));
    return count >= 0;
  } catch (const EReadError&) {
    return false;
  }
}

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& content) {
  uLongf size = compressBound(uLong(content.size()));
  std::vector<uint8_t> packed(size);
  if (compress2(packed.data(), &size, content.data(), uLong(content.size()), Z_BEST_COMPRESSION) !=
      Z_OK)
    throw EWriteError("The address list cannot be packed");
  packed.resize(size);
  return packed;
}

// Inflates a zlib stream to at most kMaxUrlListBytes; nothing when it is damaged, truncated or
// larger.
std::optional<std::vector<uint8_t>> Inflate(std::span<const uint8_t> packed) {
  z_stream zs{};
  if (inflateInit(&zs) != Z_OK) return std::nullopt;
  zs.next_in = const_cast<Bytef*>(packed.data());
  zs.avail_in = uInt(packed.size());
  std::vector<uint8_t> content;
  int status = Z_OK;
  while (status == Z_OK) {
    size_t done = content.size();
    size_t chunk = std::min(kInflateChunk, size_t(kMaxUrlListBytes) + 1 - done);
    if (chunk == 0) break;
    content.resize(done + chunk);
    zs.next_out = content.data() + done;
    zs.avail_out = uInt(chunk);
    status = inflate(&zs, Z_NO_FLUSH);
    content.resize(done + chunk - zs.avail_out);
  }
  inflateEnd(&zs);
  if (status != Z_STREAM_END) return std::nullopt;
  return content;
}

bool HasSignature(std::span<const uint8_t> bytes) {
  return bytes.size() >= sizeof kUrlListSignature &&
         std::equal(std::begin(kUrlListSignature), std::end(kUrlListSignature), bytes.begin());
}

}  // namespace

std::string PackUrl(std::string_view address) {
  std::string packed(address);
  for (size_t i = 0; i < kAddressParts.size(); ++i) {
    std::string_view part = kAddressParts[i];
    std::string code(1, char(i + 1));
    for (size_t at = packed.find(part); at != std::string::npos; at = packed.find(part, at + 1))
      packed.replace(at, part.size(), code);
  }
  return packed;
}

std::string UnpackUrl(std::string_view packed) {
  std::string address;
  address.reserve(packed.size());
  for (char c : packed) {
    auto code = static_cast<unsigned char>(c);
    if (code >= 1 && code <= kAddressParts.size())
      address += kAddressParts[code - 1];
    else
      address += c;
  }
  return address;
}

std::vector<uint8_t> EncodeUrlList(const UrlList& list) {
  MemoryStream content;
  content.WriteU8(0);
  WriteList(content, list.addresses);
  WriteList(content, list.excludes);
  if (content.Size() < kPaddedContentSize)
    WritePackedString(content, std::string(size_t(kPaddedContentSize), '\0'));
  std::vector<uint8_t> file(std::begin(kUrlListSignature), std::end(kUrlListSignature));
  std::vector<uint8_t> packed = Deflate(content.Bytes());
  file.insert(file.end(), packed.begin(), packed.end());
  return file;
}

bool DecodeUrlList(std::span<const uint8_t> bytes, UrlList& list) {
  list.addresses.clear();
  list.excludes.clear();
  if (int64_t(bytes.size()) > kMaxUrlListBytes || !HasSignature(bytes)) return false;
  std::optional<std::vector<uint8_t>> content = Inflate(bytes.subspan(sizeof kUrlListSignature));
  if (!content || content->empty()) return false;
  SpanStream stream(*content);
  bool marked = stream.ReadU8() == 0;
  bool complete = ReadList(stream, list.addresses) && ReadList(stream, list.excludes);
  return marked && complete;
}

bool ReadUrlList(const std::string& path, UrlList& list) {
  try {
    return DecodeUrlList(ReadWholeFile(path, kMaxUrlListBytes), list);
  } catch (const EFileError&) {
    list = {};
    return false;
  }
}

void WriteUrlList(const std::string& path, const UrlList& list) {
  WriteFileAtomic(path, EncodeUrlList(list));
}

bool IsValidUrlList(const std::string& path) {
  int64_t size = FileSizeOf(path);
  if (size < kMinUrlListBytes || size > kMaxUrlListBytes) return false;
  try {
    return HasSignature(ReadWholeFile(path, kMaxUrlListBytes));
  } catch (const EFileError&) {
    return false;
  }
}

}  // namespace varnel
