#include "icons/animatedcursor.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "base/byteorder.h"
#include "base/errors.h"
#include "base/fileio.h"

namespace varnel {

namespace {

// "icon" chunks are taken when their size lies strictly between these.
constexpr uint32_t kMinIconChunk = 44;
constexpr uint32_t kMaxIconChunk = 500000;

[[noreturn]] void InvalidFormat() {
  throw Exception("Invalid stream format");
}

std::string UpperId(const uint8_t* p) {
  std::string id(reinterpret_cast<const char*>(p), 4);
  for (char& c : id) c = char(std::toupper(static_cast<unsigned char>(c)));
  return id;
}

struct Chunk {
  std::string id;
  size_t data = 0;  // offset of the data
  size_t size = 0;
  size_t End() const { return data + size; }
};

// The RIFF chunks of an animated cursor, read in place. Chunks are read while they start before
// the end of the RIFF form; every chunk header and every chunk's data must lie within the bytes
// present (a chunk that reaches past them ends the reading). List sizes are not trusted: the
// chunks inside a list are read as chunks of the form.
class AniReader {
 public:
  AniReader(std::span<const uint8_t> bytes, size_t formEnd, TAnimatedCursor& cursor)
      : bytes_(bytes), formEnd_(formEnd), cursor_(cursor) {}

  void ReadChunks(size_t at) {
    while (at < formEnd_) {
      auto chunk = ChunkAt(at);
      if (!chunk) return;
      if (chunk->id == "LIST") {
        bool info = UpperId(bytes_.data() + chunk->data) == "INFO";
        at = info ? ReadInfo(chunk->data + 4, chunk->End()) : chunk->data + 4;
        if (!at) return;
        continue;
      }
      ReadChunk(*chunk);
      at = chunk->End();
    }
  }

 private:
  // The chunk at an offset; nothing when its header or data reach past the limit.
  std::optional<Chunk> ChunkAt(size_t at) const {
    if (at + 8 > bytes_.size()) return std::nullopt;
    Chunk chunk{UpperId(bytes_.data() + at), at + 8, ReadU32LE(bytes_.data() + at + 4)};
    bool isList = chunk.id == "LIST";
    if (isList ? chunk.data + 4 > bytes_.size() : chunk.size > bytes_.size() - chunk.data)
      return std::nullopt;
    return chunk;
  }

  // Title and artist; returns where the reading goes on, 0 when it ends.
  size_t ReadInfo(size_t at, size_t listEnd) {
    while (at < listEnd) {
      auto chunk = ChunkAt(at);
      if (!chunk) return 0;
      at = chunk->End();
      if (chunk->id != "INAM" && chunk->id != "IART") continue;
      std::string text;
      if (chunk->size)
        text.assign(reinterpret_cast<const char*>(&bytes_[chunk->data]), chunk->size - 1);
      (chunk->id == "INAM" ? cursor_.Title : cursor_.Artist) = text.c_str();
      at += chunk->size & 1;
    }
    return at;
  }

  std::vector<int32_t> Values(const Chunk& chunk) const {
    std::vector<int32_t> values(chunk.size / 4);
    for (size_t i = 0; i < values.size(); ++i)
      values[i] = int32_t(ReadU32LE(bytes_.data() + chunk.data + 4 * i));
    return values;
  }

  void ReadHeader(const Chunk& chunk) {
    if (chunk.size < AniHeader::kSize) return;
    uint32_t fields[9];
    for (int i = 0; i < 9; ++i) fields[i] = ReadU32LE(bytes_.data() + chunk.data + 4 * i);
    cursor_.Header = {fields[0], fields[1], fields[2], fields[3], fields[4],
                      fields[5], fields[6], fields[7], fields[8]};
  }

  void ReadIcon(const Chunk& chunk) {
    if (chunk.size <= kMinIconChunk || chunk.size >= kMaxIconChunk) return;
    const uint8_t* p = bytes_.data() + chunk.data;
    uint16_t type = ReadU16LE(p + 2);
    if (ReadU16LE(p) != 0 || ReadU16LE(p + 4) == 0 || (type != 1 && type != 2)) return;
    SpanStream stream(bytes_.subspan(chunk.data, chunk.size));
    auto frame = std::make_unique<TAdvancedCursor>();
    frame->LoadCursorFromStreamRelative(stream);
    cursor_.Frames.push_back(std::move(frame));
  }

  void ReadChunk(const Chunk& chunk) {
    if (chunk.id == "ANIH")
      ReadHeader(chunk);
    else if (chunk.id == "RATE")
      cursor_.Rates = Values(chunk);
    else if (chunk.id == "SEQ ")
      cursor_.Sequence = Values(chunk);
    else if (chunk.id == "ICON")
      ReadIcon(chunk);
  }

  std::span<const uint8_t> bytes_;
  size_t formEnd_;
  TAnimatedCursor& cursor_;
};

}  // namespace

void TAnimatedCursor::Clear() {
  Frames.clear();
  Sequence.clear();
  Rates.clear();
  Title.clear();
  Artist.clear();
}

void TAnimatedCursor::LoadFromBytes(std::span<const uint8_t> bytes) {
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 8, "ACON", 4) != 0)
    InvalidFormat();
  uint32_t riffSize = ReadU32LE(bytes.data() + 4);
  if (riffSize < kMinRiffSize || riffSize > kMaxRiffSize) InvalidFormat();
  Clear();
  AniReader(bytes, size_t(riffSize) + 8, *this).ReadChunks(12);
  CompleteAfterReading(bytes.size());
}

void TAnimatedCursor::LoadFromFile(const std::string& fileName) {
  LoadFromBytes(ReadWholeFile(fileName, kMaxRiffSize + 8));
}

void TAnimatedCursor::CompleteAfterReading(size_t byteCount) {
  if (Sequence.empty()) {
    for (size_t i = 0; i < Frames.size(); ++i) Sequence.push_back(int32_t(i));
    Header.fl |= AniHeader::kSequenceFlag;
  }
  if (Rates.empty()) {
    // A step count the file could not hold is taken from the sequence instead.
    size_t steps = Header.cSteps <= byteCount / 4 ? Header.cSteps : Sequence.size();
    Rates.assign(steps, int32_t(Header.jifRate));
  }
  Header.cbSizeof = AniHeader::kSize;
  Header.cFrames = uint32_t(Frames.size());
  if (!Sequence.empty()) Header.cSteps = uint32_t(Sequence.size());
  Header.fl =
      Sequence.empty() ? AniHeader::kIconFlag : AniHeader::kIconFlag | AniHeader::kSequenceFlag;
  if (const TSubIcon* first = FrameImage(0)) {
    Header.cx = uint32_t(first->ImageWidth());
    Header.cy = uint32_t(first->ImageHeight());
    Header.cBitCount = uint32_t(first->BitsPerPixel());
    Header.cPlanes = 1;
  }
  if (!Rates.empty()) Header.jifRate = uint32_t(Rates.front());
}

TAdvancedCursor* TAnimatedCursor::Frame(int index) const {
  return index >= 0 && size_t(index) < Frames.size() ? Frames[size_t(index)].get() : nullptr;
}

TAdvancedCursor* TAnimatedCursor::StepFrame(int step) const {
  return step >= 0 && size_t(step) < Sequence.size() ? Frame(Sequence[size_t(step)]) : nullptr;
}

TSubIcon* TAnimatedCursor::FrameImage(int index) const {
  TAdvancedCursor* frame = Frame(index);
  return frame ? frame->Images().Items(0) : nullptr;
}

TSubIcon* TAnimatedCursor::StepImage(int step) const {
  TAdvancedCursor* frame = StepFrame(step);
  return frame ? frame->Images().Items(0) : nullptr;
}

}  // namespace varnel
