#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "FuzzCheck.h"
#include "ScratchFolder.h"
#include "SilentWindow.h"
#include "StrictCp932.h"
#include "WriteGuard.h"
#include "report/ConvertFanFile.h"
#include "report/NameList.h"

// A whole conversion run on the input: the site goes into a fresh folder
// beside the input file, and nothing may be written anywhere else.

namespace fs = std::filesystem;

namespace {

bool IsInside(const fs::path& path, const fs::path& folder) {
  const fs::path p = fs::absolute(path).lexically_normal();
  const fs::path f = fs::absolute(folder).lexically_normal();
  return std::mismatch(f.begin(), f.end(), p.begin(), p.end()).first == f.end();
}

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  FuzzCheck(in.good(), "cannot read back a page of the site");
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The site holds only folders and pages, and every page is code page 932.
void CheckSite(const fs::path& site) {
  std::error_code ec;
  if (!fs::exists(site, ec)) return;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(site)) {
    const fs::file_status st = entry.symlink_status();
    if (fs::is_directory(st)) continue;
    FuzzCheck(fs::is_regular_file(st), "the site holds something that is neither folder nor file");
    if (!IsStrictCp932(ReadBytes(entry.path()))) {
      std::fprintf(stderr, "page: %s\n", entry.path().c_str());
      FuzzCheck(false, "a page is not valid code page 932");
    }
  }
}

// The scratch folder holds the input and the site, nothing else.
void CheckNothingBeside(const fs::path& scratch, const fs::path& input, const fs::path& site) {
  for (const fs::directory_entry& entry : fs::directory_iterator(scratch)) {
    if (entry.path() == input || entry.path() == site) continue;
    std::fprintf(stderr, "stray: %s\n", entry.path().c_str());
    FuzzCheck(false, "the run wrote beside its output folder");
  }
}

void CheckWrites(const std::vector<fs::path>& written, const fs::path& site) {
  for (const fs::path& path : written) {
    if (IsInside(path, site)) continue;
    std::fprintf(stderr, "written: %s\n", path.c_str());
    FuzzCheck(false, "the run wrote outside its output folder");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static const fs::path input = ScratchFolder() / "fan.txt";
  static const fs::path site = ScratchFolder() / "site";
  WriteInput(input, data, size);
  cSilentWindow window;
  cNameList lstName;
  std::shared_ptr<cSensyuFile> sensyu;

  ArmWriteGuard();
  const bool converted = ConvertFanFile(input.string(), site, window, lstName, sensyu);
  const std::vector<fs::path> written = DisarmWriteGuard();

  FuzzCheck(converted || window.Boxes() > 0, "the run failed without a message");
  // A finished run has written at least the roster page; seeing no write at
  // all means the wrapped calls are not the ones the pages go through.
  FuzzCheck(!converted || !written.empty(), "the write guard saw no writes");
  FuzzCheck(!converted || fs::exists(site / "ファン手帳.html"), "a finished run left no roster page");
  FuzzCheck(!converted || fs::exists(site / "索引.html"), "a finished run left no index page");
  CheckWrites(written, site);
  CheckNothingBeside(ScratchFolder(), input, site);
  CheckSite(site);
  fs::remove_all(site);
  return 0;
}
