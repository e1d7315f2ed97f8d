#pragma once
#include <filesystem>
#include <functional>

// A new site is built in a private folder beside the output folder and
// swapped in only when complete, so the output folder is at every moment
// either the whole old site or the whole new one. One run per output folder
// at a time: a second run waits for the first.
class cSiteStaging {
 public:
  explicit cSiteStaging(std::filesystem::path outputFolder);
  /// Removes this run's staging folder unless it was swapped in.
  ~cSiteStaging();
  cSiteStaging(const cSiteStaging&) = delete;
  cSiteStaging& operator=(const cSiteStaging&) = delete;

  /// Takes the output folder's lock (waiting for a run that holds it, after
  /// calling `waiting`), removes staging folders that runs killed earlier
  /// left, and creates this run's hidden staging folder. Throws cFileFailure,
  /// or cInterrupted when a signal ends the wait.
  void Begin(const std::function<void()>& waiting);
  /// The folder the new site is written into.
  const std::filesystem::path& Folder() const { return m_Staging; }
  /// Puts the new site in the output folder's place in one step; returns the
  /// folder that now holds the old site (to delete), or empty when there was none.
  /// Throws cFileFailure, leaving the old site in place.
  std::filesystem::path Commit();

 private:
  std::filesystem::path Beside(const std::string& what) const;
  void Lock(const std::function<void()>& waiting);
  void RemoveStale() const;

  std::filesystem::path m_Output;
  std::filesystem::path m_Staging;
  int m_LockFd = -1;
  bool m_Locked = false;
  bool m_Committed = false;
};
