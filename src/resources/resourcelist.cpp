#include "resources/resourcelist.h"

namespace varnel {

void TResourceList::DeleteResource(int index) {
  TResourceDetails* details = records_.At(index);
  TResourceModule::DeleteResource(index);
  // Deleting a group deletes its images first, so the record's index may have changed.
  records_.Remove(details);
}

}  // namespace varnel
