#include "app/mGlobal.h"

#include "app/SiteEntries.h"
#include "platform/ErrorText.h"
#include "platform/KnownFolders.h"
#include "platform/Path.h"

namespace fs = std::filesystem;

namespace {

// Takes a site folder apart; what the user put there is moved, never removed.
class cSiteRemoval {
 public:
  cSiteRemoval(cFileSystem& files, fs::path keepInto) : m_Files(files), m_KeepInto(std::move(keepInto)) {}

  /// Removes the site's own entries of `folder`; `within` is its place relative to the site's root.
  void Empty(const fs::path& folder, const fs::path& within) {
    std::vector<std::string> names;
    try {
      names = m_Files.List(folder);
    } catch (const cFileFailure& e) {
      return stayed.push_back(e);
    }
    for (const std::string& name : names) {
      try {
        Take(folder / PathFromUtf8(name), within / PathFromUtf8(name));
      } catch (const cFileFailure& e) {
        stayed.push_back(e);
      }
    }
  }

  void Remove(const fs::path& path) {
    try {
      m_Files.Remove(path);
    } catch (const cFileFailure& e) {
      stayed.push_back(e);
    }
  }

  std::vector<cFileFailure> stayed;

 private:
  void Take(const fs::path& path, const fs::path& relative) {
    const std::string name = PathToUtf8(relative.filename());
    const eEntryKind kind = m_Files.Look(path).kind;
    switch (relative.has_parent_path() ? PageFolderEntry(name, kind) : TopEntry(name, kind)) {
      case eSiteEntry::Page: return Remove(path);
      case eSiteEntry::PageFolder:
        Empty(path, relative);
        return Remove(path);
      case eSiteEntry::Foreign:
      case eSiteEntry::FileManagers: return Keep(path, relative);
    }
  }

  // The user's item goes where the user left it, in the folder that now bears the site's name.
  void Keep(const fs::path& path, const fs::path& relative) {
    try {
      if (m_KeepInto.empty() || m_Files.Look(m_KeepInto).kind != eEntryKind::Folder)
        throw cFileFailure(path, NameTakenError());
      if (relative.has_parent_path()) m_Files.MakeFolder(m_KeepInto / relative.parent_path());
      if (!m_Files.Move(path, m_KeepInto / relative)) throw cFileFailure(m_KeepInto / relative, NameTakenError());
    } catch (const cFileFailure& e) {
      stayed.push_back(e);
    }
  }

  cFileSystem& m_Files;
  fs::path m_KeepInto;
};

// What a path leads to; what cannot be looked at counts as missing.
eEntryKind KindThrough(const fs::path& path) {
  try {
    return SystemFileSystem().LookThrough(path).kind;
  } catch (const cFileFailure&) {
    return eEntryKind::Missing;
  }
}

}  // namespace

std::string cLocalShellServices::GetDesktopPath() { return PathToUtf8(DesktopFolder()); }

bool cLocalShellServices::FolderExists(const fs::path& path) { return KindThrough(path) == eEntryKind::Folder; }

bool cLocalShellServices::PlainFileExists(const fs::path& path) { return KindThrough(path) == eEntryKind::File; }

void cLocalShellServices::CreateFolders(const fs::path& folder) {
  try {
    MakeFolders(SystemFileSystem(), folder);
  } catch (const cFileFailure&) {
    // Told by the step that writes there.
  }
}

std::vector<cFileFailure> ShellDelete(cFileSystem& files, const fs::path& folder, const fs::path& keepInto) {
  cSiteRemoval removal(files, keepInto);
  removal.Empty(folder, {});
  removal.Remove(folder);
  return std::move(removal.stayed);
}
