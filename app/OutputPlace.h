#pragma once
#include <filesystem>

#include "platform/FileSystem.h"

// Where a site can really be swapped in for the output folder the user named.
enum class ePlaceProblem {
  None,
  NoParent,           // the root of a drive or file system
  MountPoint,         // the top of another file system: it cannot be renamed
  ParentNotWritable,  // the new site cannot be built beside it
};

struct cOutputPlace {
  std::filesystem::path folder;  // where the site goes: absolute, a link to a folder followed
  ePlaceProblem problem = ePlaceProblem::None;
};

/// The output folder with ".", ".." and trailing separators resolved and a
/// symbolic link to a folder followed, and why a new site cannot be put in
/// its place, if it cannot. Looks only; nothing is created.
cOutputPlace ResolveOutputPlace(cFileSystem& files, const std::filesystem::path& named);
/// The folder as the user named it, absolute, with ".", ".." and trailing separators resolved.
std::filesystem::path NormalFolderPath(const std::filesystem::path& named);
