#include "app/SiteStaging.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "app/mGlobal.h"
#include "platform/ErrorText.h"
#include "platform/Interrupt.h"
#include "platform/Path.h"
#include "platform/ProcessId.h"

namespace fs = std::filesystem;

namespace {

// How often a run waiting for another looks at the lock again: often enough
// that the window keeps repainting and Ctrl-C is taken up at once.
constexpr std::chrono::milliseconds kLockPoll{50};
// Names tried for a folder about to be taken apart.
constexpr int kGoneNames = 100;

// Every name a run keeps beside the output folder starts with this, so the
// next run knows what it may put right.
std::string OwnPrefix(const fs::path& output) { return "." + PathToUtf8(output.filename()) + ".tobirex-"; }

void MoveOrThrow(cFileSystem& files, const fs::path& from, const fs::path& to) {
  if (!files.Move(from, to)) throw cFileFailure(to, NameTakenError());
}

}  // namespace

cSiteStaging::cSiteStaging(cFileSystem& files, fs::path outputFolder)
    : m_Files(files), m_Output(std::move(outputFolder)) {}

cSiteStaging::~cSiteStaging() {
  try {
    if (!m_Committed && !m_Staging.empty() && m_Stranded.empty()) TakeApart(m_Staging);
  } catch (const std::exception&) {
    // Left for the next run, which takes apart whatever is beside the output folder.
  }
}

fs::path cSiteStaging::Beside(const std::string& what) const {
  return m_Output.parent_path() / PathFromUtf8(OwnPrefix(m_Output) + what);
}

void cSiteStaging::Begin(const std::function<void()>& waiting) {
  Lock(waiting);
  Recover();
  const fs::path staging = Beside("new-" + std::to_string(ProcessId()));
  m_Files.MakePrivateFolder(staging, m_Files.Look(m_Output));
  m_Staging = staging;  // only a folder this run made is ever taken apart as this run's
}

void cSiteStaging::Lock(const std::function<void()>& waiting) {
  const fs::path lock = Beside("lock");
  while (!(m_Lock = m_Files.TryLock(lock))) {
    waiting();
    ThrowIfInterrupted();
    std::this_thread::sleep_for(kLockPoll);
  }
}

void cSiteStaging::PutRight(const std::function<void()>& waiting) {
  // Most starts find nothing beside the folder, often not even the folder it is in.
  if (m_Files.Look(m_Output.parent_path()).kind != eEntryKind::Folder || LeftBeside().empty()) return;
  Lock(waiting);
  Recover();
  m_Lock.reset();
}

std::vector<fs::path> cSiteStaging::LeftBeside() {
  const std::string prefix = OwnPrefix(m_Output);
  std::vector<fs::path> left;
  for (const std::string& name : m_Files.List(m_Output.parent_path())) {
    for (const char* kind : {"new-", "old-", "gone-"})
      if (name.starts_with(prefix + kind)) left.push_back(m_Output.parent_path() / PathFromUtf8(name));
  }
  return left;
}

// Under the lock no other run is at work here: whatever of ours lies beside
// the output folder was left by a run that was killed.
void cSiteStaging::Recover() {
  const std::vector<fs::path> left = LeftBeside();
  // Killed between moving the old site aside and the new one in: the old one goes back.
  if (m_Files.Look(m_Output).kind == eEntryKind::Missing) {
    for (const fs::path& folder : OldSitesNewestFirst(left)) {
      if (m_Files.Move(folder, m_Output)) break;
    }
  }
  for (const fs::path& folder : left) {
    if (m_Files.Look(folder).kind != eEntryKind::Missing) TakeApart(folder);
  }
}

// Each old site aside is whole: a site is taken apart only under a name of
// its own. Several stand there only after several crashes; the one the user
// saw last is the one whose roster page was written last.
std::vector<fs::path> cSiteStaging::OldSitesNewestFirst(const std::vector<fs::path>& left) {
  std::vector<std::pair<int64_t, fs::path>> old;
  for (const fs::path& folder : left) {
    if (PathToUtf8(folder.filename()).starts_with(OwnPrefix(m_Output) + "old-"))
      old.emplace_back(m_Files.Look(folder / PathFromUtf8("ファン手帳.html")).modified, folder);
  }
  std::ranges::sort(old, std::greater{});
  std::vector<fs::path> newestFirst;
  for (auto& [modified, folder] : old) newestFirst.push_back(std::move(folder));
  return newestFirst;
}

// A folder that cannot be renamed stays whole, for the next run to try again.
void cSiteStaging::TakeApart(const fs::path& folder) {
  fs::path doomed;
  try {
    doomed = NameGone(folder);
  } catch (const cFileFailure& e) {
    return m_Leftovers.push_back(e);
  }
  for (cFileFailure& stayed : ShellDelete(m_Files, doomed, m_Output)) m_Leftovers.push_back(std::move(stayed));
}

fs::path cSiteStaging::NameGone(const fs::path& folder) {
  // Another run of the same process number may have left one that could not be taken apart.
  for (int n = 1; n <= kGoneNames; ++n) {
    const fs::path gone = Beside("gone-" + std::to_string(ProcessId()) + "-" + std::to_string(n));
    if (m_Files.Move(folder, gone)) return gone;
  }
  throw cFileFailure(folder, NameTakenError());
}

void cSiteStaging::Commit() {
  const cEntry old = m_Files.Look(m_Output);
  m_Files.SetAccess(m_Staging, old);
  if (old.kind == eEntryKind::Missing) {
    MoveOrThrow(m_Files, m_Staging, m_Output);  // no old site: the new one simply takes the name
  } else if (m_Files.Exchange(m_Staging, m_Output)) {
    m_Aside = m_Staging;  // the old site now bears the staging folder's name
  } else {
    // Where the system has no exchange: the old site steps aside first.
    const fs::path aside = Beside("old-" + std::to_string(ProcessId()));
    MoveOrThrow(m_Files, m_Output, aside);
    try {
      MoveOrThrow(m_Files, m_Staging, m_Output);
    } catch (const cFileFailure&) {
      try {
        MoveOrThrow(m_Files, aside, m_Output);
      } catch (const cFileFailure&) {
        m_Stranded = aside;
      }
      throw;
    }
    m_Aside = aside;
  }
  m_Committed = true;
}

void cSiteStaging::RemoveOld() {
  if (!m_Aside.empty()) TakeApart(m_Aside);
}
