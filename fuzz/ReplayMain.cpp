#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/Path.h"

// Stands in for libFuzzer in ordinary builds: runs the harness once on every
// file of the folders (or files) named on the command line, so the saved
// corpus and the regression inputs are replayed by every test run.

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> InputsOf(const fs::path& arg) {
  if (!fs::is_directory(arg)) return {arg};
  std::vector<fs::path> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(arg)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

void RunOne(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", PathToUtf8(file).c_str());
    std::exit(2);
  }
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::fprintf(stderr, "replaying %s (%zu bytes)\n", PathToUtf8(file).c_str(), bytes.size());
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t count = 0;
  for (int i = 1; i < argc; ++i) {
    for (const fs::path& file : InputsOf(argv[i])) {
      RunOne(file);
      ++count;
    }
  }
  std::printf("replayed %zu inputs\n", count);
  // An empty corpus would make the replay pass without testing anything.
  return count == 0 ? 1 : 0;
}
