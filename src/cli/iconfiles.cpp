#include "cli/iconfiles.h"

#include "base/errors.h"
#include "base/fileio.h"
#include "collection/fileimport.h"
#include "collection/filekind.h"

namespace varnel::cli {

void LoadIcons(CliSession& session, const std::string& path) {
  if (FileSizeOf(path) < 0) throw Exception("no such file");
  session.lib.Document.Clear();
  if (DetectFileKind(path).kind == TFileKind::fkCollection)
    session.lib.ReadCollectionFile(path);
  else
    LoadFile(session.lib, path);
}

}  // namespace varnel::cli
