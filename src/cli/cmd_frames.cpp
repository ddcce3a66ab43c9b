// varnel-cli frames: the frames of an animated cursor or a GIF as PNG files with their delays.

#include <cmath>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/fileio.h"
#include "cli/command.h"
#include "collection/kindreaders.h"
#include "graphics/gifcodec.h"
#include "graphics/pngcodec.h"
#include "icons/animatedcursor.h"
#include "icons/gifframes.h"

namespace varnel::cli {

namespace {

constexpr const char* kName = "frames";

struct WrittenFrame {
  std::string name;
  int delayMs = 0;
  int rateJiffies = -1;  // animated cursors only
  int frameIndex = -1;   // animated cursors only
};

std::string FrameName(size_t index) {
  char name[32];
  std::snprintf(name, sizeof name, "frame-%03zu.png", index);
  return name;
}

void WriteFrame(const std::string& folder, std::vector<WrittenFrame>& written,
                std::span<const uint8_t> png, WrittenFrame frame) {
  frame.name = FrameName(written.size());
  WriteFileAtomic(folder + "/" + frame.name, png);
  written.push_back(std::move(frame));
}

// Each step's frame image, in sequence order, with its own alpha.
std::vector<WrittenFrame> WriteCursorFrames(std::span<const uint8_t> bytes,
                                            const std::string& folder) {
  TAnimatedCursor cursor;
  cursor.LoadFromBytes(bytes);
  std::vector<WrittenFrame> written;
  for (int step = 0; step < cursor.StepCount(); ++step) {
    const TSubIcon* image = cursor.StepImage(step);
    if (!image) continue;
    int rate = size_t(step) < cursor.Rates.size() ? cursor.Rates[size_t(step)] : 0;
    WriteFrame(folder, written, image->SaveToPng(),
               {"", int(std::lround(rate * 1000.0 / 60)), rate, cursor.Sequence[size_t(step)]});
  }
  return written;
}

// The composed frames of a GIF.
std::vector<WrittenFrame> WriteGifFrames(std::span<const uint8_t> bytes,
                                         const std::string& folder) {
  std::vector<TFrameItem> items;
  if (!ComposeGifFrames(DecodeGif(bytes), items) && items.empty())
    throw Exception("no frames to compose");
  std::vector<WrittenFrame> written;
  for (const TFrameItem& item : items)
    WriteFrame(folder, written, EncodePng(item.ToRgba()), {"", item.delay * 10});
  return written;
}

// The frames of a format whose row reads them, with their delays.
std::vector<WrittenFrame> WriteFormatFrames(const FileFormat& format,
                                            std::span<const uint8_t> bytes,
                                            const std::string& folder) {
  std::vector<WrittenFrame> written;
  for (const AnimationFrame& frame : format.readFrames(bytes))
    WriteFrame(folder, written, EncodePng(frame.picture), {"", frame.delayMs});
  return written;
}

std::string FramesJson(const std::string& kind, const std::vector<WrittenFrame>& frames) {
  std::ostringstream json;
  json << "{\n  \"kind\": \"" << kind << "\",\n  \"frames\": [";
  for (size_t i = 0; i < frames.size(); ++i) {
    const WrittenFrame& frame = frames[i];
    json << (i ? ",\n" : "\n") << "    {\"file\": \"" << frame.name
         << "\", \"delay_ms\": " << frame.delayMs;
    if (frame.rateJiffies >= 0)
      json << ", \"rate_jiffies\": " << frame.rateJiffies << ", \"frame\": " << frame.frameIndex;
    json << "}";
  }
  json << "\n  ]\n}\n";
  return json.str();
}

// Writes the frames of the file's bytes and gives their frames.json: the frames of a format
// whose row reads them, else of an animated cursor or GIF by the file's first bytes.
std::string FramesOfFile(std::span<const uint8_t> bytes, const std::string& folder) {
  const FileFormat& format = FormatOf(DetectFileKindOfBytes(bytes).kind);
  if (format.readFrames)
    return FramesJson(format.framesKind, WriteFormatFrames(format, bytes, folder));
  bool isRiff = bytes.size() >= 4 && std::memcmp(bytes.data(), "RIFF", 4) == 0;
  bool isGif = bytes.size() >= 4 && std::memcmp(bytes.data(), "GIF8", 4) == 0;
  if (!isRiff && !isGif) throw Exception("neither an animated cursor nor a GIF");
  std::vector<WrittenFrame> frames =
      isRiff ? WriteCursorFrames(bytes, folder) : WriteGifFrames(bytes, folder);
  return FramesJson(isRiff ? "ani" : "gif", frames);
}

void WriteFrames(const std::string& file, const std::string& folder) {
  CheckInputFile(file);
  std::vector<uint8_t> bytes = ReadWholeFile(file, kMaxGifFileBytes);
  std::filesystem::create_directories(folder);
  std::string json = FramesOfFile(bytes, folder);
  WriteFileAtomic(folder + "/frames.json",
                  {reinterpret_cast<const uint8_t*>(json.data()), json.size()});
}

int RunFrames(const std::vector<std::string>& arguments) {
  std::vector<std::string> args = arguments;
  std::string folder = TakeOutputOption(args);
  if (folder.empty()) return UsageError(kName, "an output folder (-o DIR) is needed");
  if (args.size() != 1) return UsageError(kName, "exactly one FILE is needed");
  return ForEachFile(args, [&](const std::string& file) { WriteFrames(file, folder); });
}

const CommandRegistration kFrames(
    {kName, "frames FILE.ani|FILE.gif -o DIR",
     "write each frame as DIR/frame-NNN.png with alpha (an animated cursor's step frames in "
     "sequence order, a GIF's composed frames) and DIR/frames.json with the delays",
     RunFrames});

}  // namespace
}  // namespace varnel::cli
