#pragma once
// The command line's answer to the "Add Image" size question: pictures larger than an icon
// image and vector drawings are added at each size given with --sizes.

#include <optional>
#include <string>
#include <vector>

#include "collection/collectiontarget.h"

namespace varnel::cli {

struct PictureSizes {
  std::vector<int> sizes;  // square sizes; empty: pictures keep their own size
  int filter = 5;          // Lanczos
  bool keepProportions = true;
};

// Takes "--sizes 16,32,48,256", "--filter NAME" and "--no-proportions" out of the arguments;
// an error text for a malformed value.
std::optional<std::string> TakePictureSizeOptions(std::vector<std::string>& args,
                                                  PictureSizes& sizes);

// Adds the picture file as one icon with an image at each size when it is a vector drawing or
// a picture larger than an icon image; false (nothing done) for every other file.
bool ImportPictureAtSizes(CollectionTarget& lib, const std::string& path,
                          const PictureSizes& sizes);

}  // namespace varnel::cli
