#pragma once
// The program's own file types and the interface that associates them with the program. Two
// stores implement it: the registry layer (RegistryFileAssociations) and the Linux desktop's
// MIME defaults (DesktopFileAssociations).

#include <array>
#include <string>

namespace varnel {

// One file type the program can own.
struct TAssociatedType {
  const char* checkBox;     // the dialog's check box, also the name varnel-cli takes (lower case)
  const char* label;        // the text beside the check box
  const char* extension;    // without the dot
  const char* className;    // the registry class the extension is given
  const char* description;  // also the registry content type
  int iconIndex;            // negative: the file is its own icon
  const char* mimeType;     // the desktop's MIME type for files of this kind
};

inline constexpr const char* kCollectionMimeType = "application/x-varnel-collection";
inline constexpr const char* kIconLibraryMimeType = "application/x-varnel-icon-library";

// The four types in the order the dialog applies them: the libraries first, the collection last.
inline constexpr std::array<TAssociatedType, 4> kAssociatedTypes = {{
    {"ICL", "Icon Library", "icl", "iclFile_IA", "Icon Library", 0, kIconLibraryMimeType},
    {"IL", "Icon Library", "il", "ilFile_IA", "Icon Library", 0, kIconLibraryMimeType},
    {"NIL", "Icon Library", "nil", "nilFile_IA", "Icon Library", 0, kIconLibraryMimeType},
    {"ICC", "Icon Collection", "icc", "iccfile_IA", "Icon Collection", -1, kCollectionMimeType},
}};

// The type with this extension (letter case ignored), nullptr when the program has none.
const TAssociatedType* FindAssociatedType(const std::string& extension);

class FileAssociations {
 public:
  virtual ~FileAssociations() = default;
  // True when files of the type currently open with this program.
  virtual bool IsAssociated(const TAssociatedType& type) const = 0;
  // Registering always writes and keeps what the type opened with before; unregistering does
  // nothing unless the type is associated, and then puts the earlier association back.
  virtual void SetAssociation(bool doRegister, const TAssociatedType& type) = 0;
};

}  // namespace varnel
