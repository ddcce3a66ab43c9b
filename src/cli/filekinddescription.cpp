#include "cli/filekinddescription.h"

#include "collection/kindreaders.h"

namespace varnel::cli {

std::string DescribeFileKind(const TFileKindInfo& info, const std::string& path) {
  return DescribeKind(info, path);
}

}  // namespace varnel::cli
