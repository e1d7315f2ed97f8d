// make_sample [--count N] OUTPUT
// Writes the sample fan handbook file (default 1600 racers) to OUTPUT.

#include <charconv>
#include <cstring>
#include <exception>
#include <iostream>
#include <string>

#include "samples/SampleWriter.h"

namespace {

int Usage() {
  std::cerr << "usage: make_sample [--count N] OUTPUT   (N from 0 to " << kSampleMaxCount << ", default "
            << kSampleDefaultCount << ")\n";
  return 2;
}

bool ParseCount(const char* text, int& count) {
  const char* end = text + std::strlen(text);
  auto [ptr, ec] = std::from_chars(text, end, count);
  return ec == std::errc() && ptr == end && count >= 0 && count <= kSampleMaxCount;
}

}  // namespace

int main(int argc, char** argv) {
  int count = kSampleDefaultCount;
  std::string output;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--count" && i + 1 < argc) {
      if (!ParseCount(argv[++i], count)) return Usage();
    } else if (output.empty() && !arg.starts_with("-")) {
      output = arg;
    } else {
      return Usage();
    }
  }
  if (output.empty()) return Usage();
  try {
    if (!WriteSampleFile(output, count)) {
      std::cerr << "make_sample: cannot write " << output << "\n";
      return 1;
    }
  } catch (const std::exception& e) {
    std::cerr << "make_sample: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
