#pragma once
#include <filesystem>

#include "platform/FileSystem.h"

// Whether a user-chosen output folder may be replaced by a new site.
struct cFolderCheck {
  bool ok = true;
  std::filesystem::path stranger;  // the first entry that is not part of our site
};

/// ok when the folder does not exist, is empty, or holds only a site this
/// program wrote (see SiteEntries.h). Otherwise names what does not belong;
/// a folder that cannot be looked at, or that is no folder, names itself.
cFolderCheck CheckOutputFolder(cFileSystem& files, const std::filesystem::path& folder);
