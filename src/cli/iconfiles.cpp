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

std::exception_ptr LoadIconsReadSoFar(CliSession& session, const std::string& path) {
  try {
    LoadIcons(session, path);
    return nullptr;
  } catch (const Exception&) {
    if (session.lib.Count() == 0) throw;
    return std::current_exception();
  }
}

int AppendIconsOfFiles(TCollection& collection, const std::vector<std::string>& files) {
  return ForEachFile(files, [&](const std::string& file) {
    CliSession reader;
    LoadIcons(reader, file);
    // Taken from the back, so that the reader's list never shifts, then added in order.
    std::vector<std::pair<TIconList::Item, std::string>> taken;
    for (int i = reader.lib.Count() - 1; i >= 0; --i) {
      std::string source = reader.lib.SourceOf(i);
      taken.emplace_back(reader.lib.Items().TakeItem(i), std::move(source));
    }
    for (auto it = taken.rbegin(); it != taken.rend(); ++it) {
      auto& [item, source] = *it;
      collection.Insert(collection.Count(), std::move(item.name), std::move(item.icon));
      if (!source.empty())
        collection.RecordSource(collection.Count() - 1, source, item.source.position);
    }
  });
}

}  // namespace varnel::cli
