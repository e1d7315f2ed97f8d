#include "platform/FileSystem.h"

void MakeFolders(cFileSystem& files, const std::filesystem::path& folder) {
  if (folder.empty() || files.LookThrough(folder).kind == eEntryKind::Folder) return;
  const std::filesystem::path parent = folder.parent_path();
  if (parent != folder) MakeFolders(files, parent);
  files.MakeFolder(folder);
}
