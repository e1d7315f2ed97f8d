#include "app/SiteStaging.h"

#include <chrono>
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

// Under the lock no other run is at work here: whatever of ours lies beside
// the output folder was left by a run that was killed.
void cSiteStaging::Recover() {
  const std::string prefix = OwnPrefix(m_Output);
  std::vector<fs::path> left;
  for (const std::string& name : m_Files.List(m_Output.parent_path())) {
    if (name.starts_with(prefix + "new-") || name.starts_with(prefix + "old-"))
      left.push_back(m_Output.parent_path() / PathFromUtf8(name));
  }
  // Killed between moving the old site aside and the new one in: the old one goes back.
  if (m_Files.Look(m_Output).kind == eEntryKind::Missing) {
    for (const fs::path& folder : left) {
      if (PathToUtf8(folder.filename()).starts_with(prefix + "old-") && m_Files.Move(folder, m_Output)) break;
    }
  }
  for (const fs::path& folder : left) {
    if (m_Files.Look(folder).kind != eEntryKind::Missing) TakeApart(folder);
  }
}

void cSiteStaging::TakeApart(const fs::path& folder) {
  for (cFileFailure& stayed : ShellDelete(m_Files, folder, m_Output)) m_Leftovers.push_back(std::move(stayed));
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
