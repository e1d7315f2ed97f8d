#pragma once
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/SiteFolder.h"

// A new site is built in a hidden folder beside the output folder and put in
// its place only when complete; the old site is then taken apart, and what
// the user put into it meanwhile moves over to the new one. The output folder
// is at every moment the whole old site or the whole new one. One run per
// output folder at a time: a second run waits for the first. A folder is
// renamed before it is taken apart, so that a crash halfway never leaves a
// partial site under a name that is put back. After a crash at any step, the
// next start puts things right before anything else:
//   - no output folder, an old site aside: the old site goes back (of
//     several, the one whose roster page was written last);
//   - anything else left beside: taken apart as an old site is.
class cSiteStaging {
 public:
  cSiteStaging(cFileSystem& files, std::filesystem::path outputFolder);
  /// Takes apart this run's staging folder unless it was swapped in; releases the lock.
  ~cSiteStaging();
  cSiteStaging(const cSiteStaging&) = delete;
  cSiteStaging& operator=(const cSiteStaging&) = delete;

  /// Takes the output folder's lock (while another run holds it, `waiting`
  /// is called every time the lock is tried again), puts right what killed
  /// runs left, and creates this run's hidden staging folder with the output
  /// folder's group. Throws cFileFailure, or cInterrupted when a signal ends the wait.
  void Begin(const std::function<void()>& waiting);
  /// When killed runs left anything beside the output folder: takes the lock
  /// (as Begin), puts things right and lets the lock go. Throws cFileFailure
  /// when the lock cannot be taken or an old site cannot be put back.
  void PutRight(const std::function<void()>& waiting);
  /// The folder the new site is written into.
  const std::filesystem::path& Folder() const { return m_Staging; }
  /// Puts the new site in the output folder's place, with the old folder's
  /// mode. Throws cFileFailure; the old site is then still in place, or, if
  /// even putting it back failed, aside, where the next run puts it back.
  void Commit();
  bool Committed() const { return m_Committed; }
  /// Where the old site waits when putting it back failed; empty otherwise.
  const std::filesystem::path& Stranded() const { return m_Stranded; }
  /// After Commit: takes the old site apart (see ShellDelete).
  void RemoveOld();
  /// What could not be taken apart, by this run or left by earlier ones: the next run tries again.
  const std::vector<cFileFailure>& Leftovers() const { return m_Leftovers; }

 private:
  std::filesystem::path Beside(const std::string& what) const;
  void Lock(const std::function<void()>& waiting);
  /// What of ours lies beside the output folder: staging, old and half-removed folders.
  std::vector<std::filesystem::path> LeftBeside();
  void Recover();
  /// The old site aside that goes back: the newest of them, never the first listed.
  std::vector<std::filesystem::path> OldSitesNewestFirst(const std::vector<std::filesystem::path>& left);
  void TakeApart(const std::filesystem::path& folder);
  /// Renames a folder about to be taken apart to a name that is never put back.
  std::filesystem::path NameGone(const std::filesystem::path& folder);

  cFileSystem& m_Files;
  std::filesystem::path m_Output;
  std::filesystem::path m_Staging;
  std::filesystem::path m_Aside;     // the old site after the swap
  std::filesystem::path m_Stranded;
  std::unique_ptr<cHeldLock> m_Lock;
  std::vector<cFileFailure> m_Leftovers;
  bool m_Committed = false;
};
