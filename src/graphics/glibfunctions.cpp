#include "graphics/glibfunctions.h"

namespace varnel {

const GLibFunctions& GLib() {
  return LoadedFunctions<GLibFunctions>();
}

}  // namespace varnel
