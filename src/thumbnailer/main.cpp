// varnel-thumbnailer -s SIZE INPUT OUTPUT: the thumbnail a file manager shows for a file that
// holds icons, written as a PNG with alpha. File managers run it in a sandbox and on files of
// any origin, so it bounds its memory and time, and on failure it leaves no output and exits
// with status 1.

#include <sys/resource.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include <span>
#include <string>

#include "base/atomicfilestream.h"
#include "collection/thumbnailsource.h"
#include "graphics/pngcodec.h"

namespace {

constexpr int kMaxSize = 1024;
constexpr rlim_t kAddressSpaceLimit = rlim_t(4) << 30;  // mappings of large modules included
constexpr unsigned kSecondsLimit = 10;

struct Request {
  int size = 0;
  std::string input;
  std::string output;
};

void Usage() {
  std::fputs("usage: varnel-thumbnailer -s SIZE INPUT OUTPUT\n", stderr);
}

std::optional<int> ParseSize(const char* text) {
  int value = 0;
  const char* end = text + std::strlen(text);
  auto [stop, error] = std::from_chars(text, end, value);
  if (error != std::errc() || stop != end || value < 1 || value > kMaxSize) return std::nullopt;
  return value;
}

// A "file://" address as file managers may pass it, decoded to a path; other text unchanged.
std::string LocalPath(std::string text) {
  constexpr std::string_view kScheme = "file://";
  if (text.rfind(kScheme, 0) != 0) return text;
  std::string path;
  for (size_t i = kScheme.size(); i < text.size(); ++i) {
    int code = 0;
    if (text[i] == '%' && i + 2 < text.size() &&
        std::from_chars(text.data() + i + 1, text.data() + i + 3, code, 16).ptr ==
            text.data() + i + 3) {
      path += char(code);
      i += 2;
    } else {
      path += text[i];
    }
  }
  return path;
}

std::optional<Request> ParseArguments(int argc, char** argv) {
  Request request;
  int positional = 0;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if ((arg == "-s" || arg == "--size") && i + 1 < argc) {
      auto size = ParseSize(argv[++i]);
      if (!size) return std::nullopt;
      request.size = *size;
    } else if (positional == 0) {
      request.input = LocalPath(arg);
      ++positional;
    } else if (positional == 1) {
      request.output = arg;
      ++positional;
    } else {
      return std::nullopt;
    }
  }
  if (request.size == 0 || positional != 2) return std::nullopt;
  return request;
}

// Hostile input ends in a clean failure rather than a stuck or exhausted desktop: the process
// may use a bounded address space, and is ended by the system after a few seconds.
void LimitResources() {
  rlimit memory{kAddressSpaceLimit, kAddressSpaceLimit};
  setrlimit(RLIMIT_AS, &memory);
  alarm(kSecondsLimit);
}

// Writes the PNG to a file beside the output and renames it into place, so that the file manager
// never reads half a thumbnail. It is not flushed to disk: the file manager reads it back at
// once, and a thumbnail lost to a power cut is drawn again.
void WriteThumbnail(const std::string& output, std::span<const uint8_t> png) {
  varnel::AtomicFileStream file(output);
  file.WriteBytes(png);
  file.Commit(varnel::AtomicFileStream::Durability::Cached);
}

}  // namespace

int main(int argc, char** argv) {
  std::optional<Request> request = ParseArguments(argc, argv);
  if (!request) {
    Usage();
    return 2;
  }
  LimitResources();
  try {
    varnel::TBitmap thumbnail = varnel::ThumbnailOf(request->input, request->size);
    WriteThumbnail(request->output, varnel::EncodePng(thumbnail));
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "varnel-thumbnailer: %s\n", error.what());
    return 1;
  }
}
