#include "shell/fileassociations.h"

#include "platform/textfunctions.h"

namespace varnel {

const TAssociatedType* FindAssociatedType(const std::string& extension) {
  for (const TAssociatedType& type : kAssociatedTypes)
    if (SameText(type.extension, extension)) return &type;
  return nullptr;
}

}  // namespace varnel
