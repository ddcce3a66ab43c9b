#pragma once
// Keeps a file that another program cuts while it is mapped (`truncate`, a second copy of the
// program saving over it, a network share changing under us) from ending the process with a
// bus error. Mappings made by MappedFile are registered here; a read of a page that lies past
// the file's new end raises SIGBUS, and the handler puts zero-filled private pages in place of
// the rest of that mapping and marks it cut, so that the read goes on and sees zeros. Whoever
// holds views of the mapping asks WasCut before trusting what it read: a collection refuses to
// save over its file from a cut mapping. A bus error outside every registered mapping ends the
// process as it always did.

#include <cstddef>

namespace varnel {

class MappingGuard {
 public:
  // Registers a mapping of size bytes at start; the first call installs the handler. Returns
  // false when every slot is taken (the mapping is then read unguarded).
  static bool Register(const void* start, size_t size);
  static void Unregister(const void* start);
  // True once a read of the mapping at start met a page its file no longer has.
  static bool WasCut(const void* start);
  // True when bytes read from a guarded mapping lie where its file was found cut (from the
  // lowest page a read met gone up to the mapping's end): what was read there is zeros.
  static bool Lost(const void* bytes, size_t size);
};

}  // namespace varnel
