#pragma once
#include <cerrno>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "platform/Path.h"
#include "platform/SiteFolder.h"

// A site held in memory, as the run would write it to disk. A fault can be
// set: the write of one page fails, or the creation of every folder.
class cMemorySite : public cSiteFolder {
 public:
  void CreateFolder(const std::filesystem::path& relative) override {
    std::lock_guard lock(m_Mutex);
    if (folderErrno != 0) throw cFileFailure(relative, folderErrno);
    folders.insert(Key(relative));
  }
  void WritePage(const std::filesystem::path& relative, std::string_view bytes) override {
    std::lock_guard lock(m_Mutex);
    const std::string name = Key(relative);
    if (name == failingPage) throw cFileFailure(relative, pageErrno);
    const std::string folder = Key(relative.parent_path());
    if (!folder.empty() && !folders.count(folder)) throw cFileFailure(relative, ENOENT);
    if (!pages.emplace(name, keepBytes ? std::string(bytes) : std::string()).second) {
      throw cFileFailure(relative, EEXIST);
    }
  }

  std::map<std::string, std::string> pages;
  std::set<std::string> folders;
  std::string failingPage;
  int pageErrno = EIO;
  int folderErrno = 0;
  bool keepBytes = true;

 private:
  // Pages are named as on the web: "4000/4321.html" on every system.
  static std::string Key(const std::filesystem::path& p) { return PathToWebUtf8(p); }
  std::mutex m_Mutex;
};
