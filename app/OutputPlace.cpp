#include "app/OutputPlace.h"

#include "platform/SiteFolder.h"

namespace fs = std::filesystem;

namespace {

void FindProblem(cFileSystem& files, cOutputPlace& place) {
  // The site goes where the link leads; the link itself stays.
  if (files.Look(place.folder).kind == eEntryKind::Link && files.LookThrough(place.folder).kind == eEntryKind::Folder)
    place.folder = files.Canonical(place.folder);
  const fs::path parent = place.folder.parent_path();
  if (!place.folder.has_relative_path() || parent == place.folder) {
    place.problem = ePlaceProblem::NoParent;
    return;
  }
  const cEntry self = files.Look(place.folder);
  const cEntry above = files.Look(parent);
  if (self.kind == eEntryKind::Folder && above.kind == eEntryKind::Folder && self.device != above.device)
    place.problem = ePlaceProblem::MountPoint;
  else if (above.kind == eEntryKind::Folder && !files.CanWriteIn(parent))
    place.problem = ePlaceProblem::ParentNotWritable;
}

}  // namespace

fs::path NormalFolderPath(const fs::path& named) {
  std::error_code ec;
  fs::path folder = fs::absolute(named, ec).lexically_normal();
  if (!folder.has_filename() && folder.has_relative_path()) folder = folder.parent_path();  // "site/" is "site"
  return folder;
}

cOutputPlace ResolveOutputPlace(cFileSystem& files, const fs::path& named) {
  cOutputPlace place{NormalFolderPath(named)};
  try {
    FindProblem(files, place);
  } catch (const cFileFailure&) {
    // What cannot be looked at is told by the step that needs it.
  }
  return place;
}
