#include "bench/GeneratedSample.h"

#include <filesystem>
#include <map>
#include <stdexcept>
#include <system_error>

#include <unistd.h>

#include "samples/SampleWriter.h"

namespace {

namespace fs = std::filesystem;

class cGeneratedFolder {
 public:
  cGeneratedFolder()
      : m_Folder(fs::temp_directory_path() / ("tobirex_bench_" + std::to_string(::getpid()))) {
    fs::create_directories(m_Folder);
  }
  ~cGeneratedFolder() {
    std::error_code ignored;
    fs::remove_all(m_Folder, ignored);
  }
  cGeneratedFolder(const cGeneratedFolder&) = delete;
  cGeneratedFolder& operator=(const cGeneratedFolder&) = delete;

  const std::string& PathFor(int count) {
    auto found = m_Files.find(count);
    if (found != m_Files.end()) return found->second;
    const std::string path = (m_Folder / ("fan_" + std::to_string(count) + ".txt")).string();
    if (!WriteSampleFile(path, count)) throw std::runtime_error("cannot write " + path);
    return m_Files.emplace(count, path).first->second;
  }

 private:
  fs::path m_Folder;
  std::map<int, std::string> m_Files;
};

}  // namespace

const std::string& GeneratedSamplePath(int count) {
  static cGeneratedFolder folder;
  return folder.PathFor(count);
}
