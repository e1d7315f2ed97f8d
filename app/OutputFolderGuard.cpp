#include "app/OutputFolderGuard.h"

#include <optional>

#include "app/SiteEntries.h"
#include "platform/Path.h"
#include "platform/SiteFolder.h"

namespace fs = std::filesystem;

namespace {

// The first entry of the folder that `classify` does not count as the site's,
// looking into per-thousand folders on the way.
template <typename Classify>
std::optional<fs::path> Stranger(cFileSystem& files, const fs::path& folder, Classify classify) {
  for (const std::string& name : files.List(folder)) {
    const fs::path path = folder / PathFromUtf8(name);
    switch (classify(name, files.Look(path).kind)) {
      case eSiteEntry::Page:
      case eSiteEntry::FileManagers: break;
      case eSiteEntry::PageFolder:
        if (auto inner = Stranger(files, path, PageFolderEntry)) return inner;
        break;
      case eSiteEntry::Foreign: return path;
    }
  }
  return std::nullopt;
}

}  // namespace

cFolderCheck CheckOutputFolder(cFileSystem& files, const fs::path& folder) {
  try {
    const eEntryKind kind = files.Look(folder).kind;
    if (kind == eEntryKind::Missing) return {};
    if (kind != eEntryKind::Folder) return {false, folder};
    if (auto stranger = Stranger(files, folder, TopEntry)) return {false, *stranger};
    return {};
  } catch (const cFileFailure& e) {
    return {false, e.File()};  // cannot look at it: cannot vouch for it
  }
}
