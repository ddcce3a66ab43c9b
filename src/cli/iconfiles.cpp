#include "cli/iconfiles.h"

#include "base/errors.h"
#include "cli/command.h"
#include "cli/noiconsreason.h"
#include "collection/fileimport.h"
#include "collection/filekind.h"

namespace varnel::cli {

void LoadIcons(CliSession& session, const std::string& path) {
  CheckInputFile(path);
  session.lib.Document.Clear();
  if (DetectFileKind(path).kind == TFileKind::fkCollection)
    session.lib.ReadCollectionFile(path);
  else
    LoadFile(session.lib, path);
  // Pictures that searches pass by (Photoshop, X pixmaps and others) give their images as
  // imported.
  std::vector<std::string> errors;
  if (session.lib.Count() == 0) ImportFile(session.lib, path, &errors);
  if (session.lib.Count() == 0) throw Exception("no icons found: " + NoIconsReason(path, errors));
}

}  // namespace varnel::cli
