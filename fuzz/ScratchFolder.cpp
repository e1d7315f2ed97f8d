#include "ScratchFolder.h"

#include <stdlib.h>

#include <cstdio>
#include <memory>
#include <string>
#include <system_error>

#include "FuzzCheck.h"

namespace {

class cScratch {
 public:
  cScratch() {
    std::error_code ec;
    std::string pattern = (std::filesystem::temp_directory_path(ec) / "tobirex-fuzz-XXXXXX").string();
    FuzzCheck(!ec && ::mkdtemp(pattern.data()) != nullptr, "cannot create the scratch folder");
    m_Path = pattern;
  }
  ~cScratch() {
    std::error_code ec;
    std::filesystem::remove_all(m_Path, ec);
  }
  cScratch(const cScratch&) = delete;
  cScratch& operator=(const cScratch&) = delete;
  const std::filesystem::path& Path() const { return m_Path; }

 private:
  std::filesystem::path m_Path;
};

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

const std::filesystem::path& ScratchFolder() {
  static const cScratch scratch;
  return scratch.Path();
}

void WriteInput(const std::filesystem::path& file, const uint8_t* data, std::size_t size) {
  std::unique_ptr<std::FILE, FileCloser> f(std::fopen(file.c_str(), "wb"));
  FuzzCheck(f != nullptr, "cannot write the input file");
  FuzzCheck(size == 0 || std::fwrite(data, 1, size, f.get()) == size, "cannot write the input file");
  FuzzCheck(std::fclose(f.release()) == 0, "cannot write the input file");
}
