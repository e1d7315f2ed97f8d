#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// The steps that put a new site in place of the old one: the lock beside the
// output folder, the hidden folders and the renames between them. Every such
// step goes through here, so tests can fail any one of them, or stop the
// program dead after it, and check what the next run finds.

enum class eEntryKind { Missing, File, Folder, Link, Other };

/// What the system says of one entry.
struct cEntry {
  eEntryKind kind = eEntryKind::Missing;
  uint32_t mode = 0;       // permission bits with set-group-ID; 0 where the system keeps none
  int64_t group = -1;      // the owning group; -1 where the system keeps none
  uint64_t device = 0;     // the file system the entry is on
  uint64_t size = 0;       // a file's length in bytes
  int64_t modified = 0;    // when its content last changed, in the system's ticks (later is larger)
  uint64_t id = 0;         // the entry's number on its file system; 0 where not told
};

/// A lock file held by this run; released and removed when destroyed.
class cHeldLock {
 public:
  virtual ~cHeldLock() = default;
};

class cFileSystem {
 public:
  virtual ~cFileSystem() = default;
  /// What is at `path`, a link as a link; kind Missing when nothing is. Throws cFileFailure.
  virtual cEntry Look(const std::filesystem::path& path) = 0;
  /// What `path` leads to, links followed; kind Missing also for a link
  /// that leads nowhere. Throws cFileFailure.
  virtual cEntry LookThrough(const std::filesystem::path& path) = 0;
  /// The path with every link, "." and ".." resolved; the entry must exist. Throws cFileFailure.
  virtual std::filesystem::path Canonical(const std::filesystem::path& path) = 0;
  /// The names in a folder. Throws cFileFailure.
  virtual std::vector<std::string> List(const std::filesystem::path& folder) = 0;
  /// Creates one folder that only this user can enter, in the group of
  /// `like` and with its set-group-ID bit (when it has them). Throws
  /// cFileFailure, also when the name is taken.
  virtual void MakePrivateFolder(const std::filesystem::path& folder, const cEntry& like) = 0;
  /// Creates one ordinary folder; an existing folder is fine. Throws cFileFailure.
  virtual void MakeFolder(const std::filesystem::path& folder) = 0;
  /// Gives the folder the mode of `like`, or the one a new folder gets when
  /// `like` is Missing. Throws cFileFailure.
  virtual void SetAccess(const std::filesystem::path& folder, const cEntry& like) = 0;
  /// Renames within one folder or between folders of one file system; false,
  /// with nothing moved, when `to` is taken. Throws cFileFailure.
  virtual bool Move(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
  /// Exchanges two entries in one step; false where the system cannot.
  /// Throws cFileFailure.
  virtual bool Exchange(const std::filesystem::path& a, const std::filesystem::path& b) = 0;
  /// Removes a file, a link or an empty folder. Throws cFileFailure.
  virtual void Remove(const std::filesystem::path& path) = 0;
  /// Takes the lock file, or nothing while another run holds it. Throws cFileFailure.
  virtual std::unique_ptr<cHeldLock> TryLock(const std::filesystem::path& file) = 0;
  /// True when this user may create and remove entries in the folder.
  virtual bool CanWriteIn(const std::filesystem::path& folder) = 0;
};

/// The file system of this computer.
cFileSystem& SystemFileSystem();
/// Creates the folder and every missing folder above it. Throws cFileFailure.
void MakeFolders(cFileSystem& files, const std::filesystem::path& folder);
