// varnel-cli similar: the icons of files that are one picture at other sizes or depths, as
// nearest lists, as groups, or merged into one icon per group.

#include <iostream>

#include "base/errors.h"
#include "cli/collectionoutput.h"
#include "cli/command.h"
#include "cli/iconfiles.h"
#include "cli/optionvalues.h"
#include "collection/similargroups.h"
#include "collection/similarmerge.h"
#include "collection/similarsignatures.h"

namespace varnel::cli {

namespace {

constexpr const char* kName = "similar";
constexpr int kDefaultTop = 5;

struct SimilarOptions {
  std::vector<std::string> files;
  int top = kDefaultTop;
  int threshold = kDefaultSimilarThreshold;
  bool json = false;
  bool groups = false;
  bool merge = false;
  std::string output;
};

bool TakeNumber(OptionWalker& walker, int low, int high, int& number) {
  auto value = walker.Value();
  if (!value) return false;
  auto parsed = ParseNumberIn(*value, low, high);
  if (!parsed) return walker.Invalid(*value);
  number = *parsed;
  return true;
}

bool TakeOption(OptionWalker& walker, SimilarOptions& options) {
  const std::string& arg = walker.Current();
  if (arg == "--top") return TakeNumber(walker, 1, 1000, options.top);
  if (arg == "--threshold") return TakeNumber(walker, 0, 255 * kSignatureBytes, options.threshold);
  auto value = walker.Value();
  if (value) options.output = *value;
  return bool(value);
}

bool TakeFlag(const std::string& arg, SimilarOptions& options) {
  bool* flag = arg == "--json"     ? &options.json
               : arg == "--groups" ? &options.groups
               : arg == "--merge"  ? &options.merge
                                   : nullptr;
  if (flag) *flag = true;
  return flag != nullptr;
}

std::optional<SimilarOptions> ParseOptions(const std::vector<std::string>& args) {
  SimilarOptions options;
  ArgumentRules rules{{"--top", "--threshold", "-o"},
                      [&](OptionWalker& walker) { return TakeOption(walker, options); },
                      [&](const std::string& flag) { return TakeFlag(flag, options); }};
  if (!WalkArguments(kName, args, rules, options.files)) return std::nullopt;
  if (options.files.empty()) return UsageError(kName, "no file given"), std::nullopt;
  if (options.merge && options.output.empty())
    return UsageError(kName, "no output file given (--merge -o OUT)"), std::nullopt;
  if (!options.merge && !options.output.empty())
    return UsageError(kName, "-o is the output of --merge"), std::nullopt;
  return options;
}

void PrintNearest(const TIconList& items, int icon, const std::vector<SimilarNeighbour>& nearest,
                  bool json) {
  if (json) {
    std::cout << "{\"index\": " << icon << ", \"name\": \"" << JsonEscape(items.Names(icon))
              << "\", \"similar\": [";
    for (size_t i = 0; i < nearest.size(); ++i)
      std::cout << (i ? ", " : "") << "{\"index\": " << nearest[i].index
                << ", \"distance\": " << nearest[i].distance << "}";
    std::cout << "]}\n";
    return;
  }
  std::cout << icon << " " << items.Names(icon) << ":";
  for (size_t i = 0; i < nearest.size(); ++i)
    std::cout << (i ? ", " : " ") << nearest[i].index << " (" << nearest[i].distance << ")";
  std::cout << "\n";
}

void PrintGroup(const TIconList& items, int group, const std::vector<int>& icons, bool json) {
  if (json) {
    std::cout << "{\"group\": " << group << ", \"indices\": [";
    for (size_t i = 0; i < icons.size(); ++i) std::cout << (i ? ", " : "") << icons[i];
    std::cout << "]}\n";
    return;
  }
  std::cout << group << ":";
  for (size_t i = 0; i < icons.size(); ++i)
    std::cout << (i ? ", " : " ") << icons[i] << " " << items.Names(icons[i]);
  std::cout << "\n";
}

class SimilarRun {
 public:
  explicit SimilarRun(const SimilarOptions& options) : options_(options) {}

  // The answer over the icons of every file that could be read; a file that failed makes the
  // status 1 after the answer.
  int Run() {
    int loaded = AppendIconsOfFiles(session_.lib.Document, options_.files);
    if (session_.lib.Count() == 0) return PrintError("no icons found"), kExitFailed;
    int answered = Answer();
    return answered == kExitOk ? loaded : answered;
  }

 private:
  int Answer() {
    std::vector<const TAdvancedIcon*> icons;
    for (int i = 0; i < session_.lib.Count(); ++i) icons.push_back(session_.lib.Items().Icons(i));
    auto signatures = MakeIconSignatures(icons, Progress());
    if (!signatures) return kExitInterrupted;
    SimilarIndex index(std::move(*signatures));
    if (options_.groups || options_.merge) return RunGroups(index);
    auto nearest = index.AllNearest(options_.top, Progress());
    if (!nearest) return kExitInterrupted;
    for (int icon = 0; icon < index.Count(); ++icon)
      PrintNearest(session_.lib.Items(), icon, (*nearest)[size_t(icon)], options_.json);
    return kExitOk;
  }

  SimilarProgress Progress() {
    return [this](int) { return !session_.lib.StopRequested(); };
  }

  int RunGroups(const SimilarIndex& index) {
    auto pictures = index.AllNearestPictures(kGroupCandidates, Progress());
    if (!pictures) return kExitInterrupted;
    auto groups = FindSimilarGroups(index, *pictures, options_.threshold);
    if (!options_.merge) {
      for (size_t group = 0; group < groups.size(); ++group)
        PrintGroup(session_.lib.Items(), int(group), groups[group], options_.json);
      return kExitOk;
    }
    int removed = MergeSimilarGroups(session_.lib.Document, groups);
    std::cerr << "varnel-cli: " << CountText(int64_t(groups.size()), "group") << " merged, "
              << CountText(removed, "icon") << " fewer\n";
    SaveCollectionOutput(session_.lib, options_.output, false);
    return kExitOk;
  }

  const SimilarOptions& options_;
  CliSession session_;
};

int RunSimilar(const std::vector<std::string>& args) {
  auto options = ParseOptions(args);
  if (!options) return kExitUsage;
  if (options->merge)
    if (int error = CheckCollectionOutput(kName, options->output)) return error;
  try {
    return SimilarRun(*options).Run();
  } catch (const Exception& error) {
    PrintError(error.what());
    return kExitFailed;
  }
}

const CommandRegistration kSimilar(
    {kName,
     "similar FILE... [--top K] [--json] | --groups [--json] [--threshold T] | --merge -o OUT "
     "[--threshold T]",
     "for each icon of the files, the K (default 5) icons most alike it at any size or depth; "
     "with --groups the groups of icons that are one picture (threshold default " +
         std::to_string(kDefaultSimilarThreshold) +
         "); with --merge a collection in which each group became one icon holding all its sizes",
     RunSimilar});

}  // namespace
}  // namespace varnel::cli
