#pragma once
// TAnimatedCursor: an animated cursor file (RIFF form "ACON"): its frames, each a whole cursor,
// the sequence of frames shown step by step, the display rate of each step, title and artist.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "icons/advancedicon.h"

namespace varnel {

// The "anih" chunk, with the defaults of a cursor that has none.
struct AniHeader {
  static constexpr uint32_t kSize = 36;
  static constexpr uint32_t kIconFlag = 1;      // frames are icon or cursor data
  static constexpr uint32_t kSequenceFlag = 2;  // a "seq " chunk is present

  uint32_t cbSizeof = kSize;
  uint32_t cFrames = 0;
  uint32_t cSteps = 0;
  uint32_t cx = 32;
  uint32_t cy = 32;
  uint32_t cBitCount = 4;
  uint32_t cPlanes = 1;
  uint32_t jifRate = 10;
  uint32_t fl = kIconFlag;
};

class TAnimatedCursor {
 public:
  // The RIFF sizes an animated cursor may declare.
  static constexpr uint32_t kMinRiffSize = 44;
  static constexpr uint32_t kMaxRiffSize = 2000000;

  std::vector<std::unique_ptr<TAdvancedCursor>> Frames;
  std::vector<int32_t> Sequence;  // frame index of each step
  std::vector<int32_t> Rates;     // display time of each step, in jiffies (1/60 s)
  std::string Title;
  std::string Artist;
  AniHeader Header;

  void Clear();
  // Reads an animated cursor; raises Exception("Invalid stream format") when the bytes are no
  // RIFF "ACON" form of an acceptable size. Chunks that reach past the RIFF size or the bytes
  // present end the reading; missing sequence and rates are completed and the header refreshed
  // from what was read.
  void LoadFromBytes(std::span<const uint8_t> bytes);
  void LoadFromFile(const std::string& fileName);

  int StepCount() const { return int(Sequence.size()); }
  // The frame shown at a step / a frame by index, and their first image; null when out of range
  // or without images.
  TAdvancedCursor* StepFrame(int step) const;
  TAdvancedCursor* Frame(int index) const;
  TSubIcon* StepImage(int step) const;
  TSubIcon* FrameImage(int index) const;

 private:
  void CompleteAfterReading(size_t byteCount);
};

}  // namespace varnel
