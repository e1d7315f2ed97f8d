#pragma once
#include <string>

#include "platform/FileSystem.h"

// What a site this program wrote holds, and nothing else: the roster page,
// the index page, the ranking and race card of --extras, and per-thousand
// folders ("4000") of racer pages ("4321.html", named by the racer number as
// the fan file writes it). Files a file manager leaves in any folder it shows
// (desktop.ini, Thumbs.db, .DS_Store) are nobody's content: they neither make
// a folder foreign nor go.

enum class eSiteEntry { Page, PageFolder, Foreign, FileManagers };

/// What an entry at the top of a site folder is.
eSiteEntry TopEntry(const std::string& name, eEntryKind kind);
/// What an entry inside a per-thousand folder is: a racer page, or foreign.
eSiteEntry PageFolderEntry(const std::string& name, eEntryKind kind);
