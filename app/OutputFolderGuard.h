#pragma once
#include <filesystem>

// Whether a user-chosen output folder may be deleted and rebuilt.
struct cFolderCheck {
  bool ok = true;
  std::filesystem::path stranger;  // the first entry that is not part of our site
};

/// ok when the folder does not exist, is empty, or holds only a site this
/// program wrote: the roster page, the index page and four-digit folders
/// holding only racer pages "*.html". Otherwise names what does not belong.
cFolderCheck CheckOutputFolder(const std::filesystem::path& folder);
