// Putting a new site in place of the old one: every file-system step failed
// or "crashed" in turn, then the next start's recovery; the lock; taking the
// old site apart.
#include "app/SiteStaging.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>

#include "app/mGlobal.h"
#include "platform/Interrupt.h"
#include "platform/Path.h"
#include "support/SiteTree.h"
#include "support/StepFileSystem.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(PathToUtf8(e.path().filename()));
  return names;
}

// One run with the fault at `step`; true when the run got as far as the user's files.
bool RunWithFault(cStepFileSystem& files, const fs::path& output, bool oldSite) {
  bool usersPlanted = false;
  try {
    cSiteStaging staging(files, output);
    staging.Begin([] {});
    Plant(staging.Folder(), kNew);
    if (oldSite) Plant(output, kUsers);
    usersPlanted = oldSite;
    staging.Commit();
    staging.RemoveOld();
  } catch (const cFileFailure&) {
  } catch (const cCrash&) {
  }
  return usersPlanted;
}

TEST(SiteStaging, AfterAnyStepFailedOrCrashedTheNextStartFindsTheOldSiteOrTheNewOne) {
  using eFault = cStepFileSystem::eFault;
  for (const bool exchange : {true, false})
    for (const eFault fault : {eFault::FailOnce, eFault::FailFromThenOn, eFault::CrashAfter})
      for (const bool oldSite : {true, false})
        for (int step = 1;; ++step) {
          SCOPED_TRACE(testing::Message() << "exchange " << exchange << ", fault " << static_cast<int>(fault)
                                          << ", old site " << oldSite << ", step " << step);
          cTempDir tmp;
          const fs::path output = tmp.Path() / PathFromUtf8("ファン手帳");
          if (oldSite) Plant(output, kOld);
          cStepFileSystem files(step, fault, exchange);
          const bool usersPlanted = RunWithFault(files, output, oldSite);
          const cTree users = usersPlanted ? kUsers : cTree{};
          if (fault == eFault::FailOnce) {  // the site's pages at once; the user's items may wait for the next start
            cTree pages = Tree(output);
            for (const auto& item : kUsers) pages.erase(item.first);
            EXPECT_TRUE(pages == kNew || pages == (oldSite ? kOld : cTree{}));
          }
          {  // the next start (as a start without a file does), or a conversion's first step
            cSiteStaging next(SystemFileSystem(), output);
            exchange ? next.Begin([] {}) : next.PutRight([] {});
          }
          const cTree found = Tree(output);
          EXPECT_TRUE(found == With(kNew, users) || (oldSite ? found == With(kOld, users) : found.empty()));
          EXPECT_EQ(Names(tmp.Path()), found.empty() ? std::vector<std::string>{} : std::vector<std::string>{"ファン手帳"});
          if (!files.Reached()) break;
        }
}

// Old sites aside and no output folder, as several crashes leave them: the
// one whose roster page was written last goes back, whatever order the
// folder lists them in; one taken apart halfway never does.
TEST(SiteStaging, TheNewestOldSiteGoesBackWhateverTheListingOrder) {
  for (const bool reversed : {false, true}) {
    cTempDir tmp;
    for (const auto& [name, minutesAgo] : {std::pair{"old-7", 30}, {"old-8", 10}, {"old-9", 20}, {"gone-5-1", 1}}) {
      const fs::path folder = tmp.Path() / (std::string(".site.tobirex-") + name);
      Plant(folder, minutesAgo == 10 ? kNew : kOld);
      fs::last_write_time(folder / PathFromUtf8("ファン手帳.html"), fs::file_time_type::clock::now() - std::chrono::minutes(minutesAgo));
    }
    cStepFileSystem files(0, cStepFileSystem::eFault::FailOnce, true);
    files.reverseListing = reversed;
    cSiteStaging(files, tmp.Path() / "site").PutRight([] {});
    EXPECT_EQ(Tree(tmp.Path() / "site"), kNew);
    EXPECT_EQ(Names(tmp.Path()), std::vector<std::string>{"site"});
  }
}

TEST(SiteStaging, ASecondRunWaitsForTheFirstAndAStopRequestEndsTheWait) {
  cTempDir tmp;
  const fs::path output = tmp.Path() / "site";
  auto first = std::make_unique<cSiteStaging>(SystemFileSystem(), output);
  first->Begin([] {});
  int waits = 0;
  cSiteStaging second(SystemFileSystem(), output);
  second.Begin([&] {
    if (++waits == 3) first.reset();  // the first run ends while the second waits
  });
  EXPECT_EQ(waits, 3);
  EXPECT_TRUE(fs::is_directory(second.Folder()));
  cSiteStaging third(SystemFileSystem(), output);
  EXPECT_THROW(third.Begin([] { RequestStop(SIGINT); }), cInterrupted);
  RequestStop(0);
  cSiteStaging nowhere(SystemFileSystem(), tmp.Path() / "missing" / "site");
  EXPECT_THROW(nowhere.Begin([] {}), cFileFailure);  // no lock file can be made there
}

// The old site goes; the user's items go where the user left them, unless the name is taken.
TEST(ShellDelete, RemovesOnlyTheSitesOwnPages) {
  cTempDir tmp;
  const fs::path old = tmp.Path() / "old", into = tmp.Path() / "new";
  Plant(old, With(kOld, {{"notes.txt", "mine"}, {"4000/x.html", "mine"}, {"4000/12345.html", "mine"},
                         {"5000/sub/a.txt", "mine"}, {"docs/4001.html", "mine"},
                         {"3000", "a file where the new site has a folder"}}));
  Plant(into, kNew);
  const std::vector<cFileFailure> stayed = ShellDelete(SystemFileSystem(), old, into);
  EXPECT_EQ(Tree(into), With(kNew, {{"notes.txt", "mine"}, {"4000/x.html", "mine"}, {"4000/12345.html", "mine"},
                                    {"5000/sub/a.txt", "mine"}, {"docs/4001.html", "mine"}}));
  EXPECT_EQ(Tree(old), (cTree{{"3000", "a file where the new site has a folder"}}));
  ASSERT_EQ(stayed.size(), 2u);  // the file that could not move, and so the folder
  EXPECT_EQ(stayed[0].File(), into / "3000");
  EXPECT_EQ(stayed[1].File(), old);
}

// A page folder made again is taken as it is; a file in its place is not.
TEST(DiskSiteFolder, TakesAFolderThatIsThereButNotAFile) {
  cTempDir tmp;
  tmp.WriteFile("5000", "a file");
  const auto site = DiskSiteFolder(tmp.Path());
  for (int i = 0; i < 2; ++i) site->CreateFolder("4000");
  EXPECT_THROW(site->CreateFolder("5000"), cFileFailure);
}

}  // namespace
