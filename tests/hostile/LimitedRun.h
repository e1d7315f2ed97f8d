#pragma once
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

// Runs the real program with a time limit, as a script would: no terminal,
// standard input empty, in a working folder of the test's choosing.
struct cLimitedRun {
  std::vector<std::string> args;
  std::vector<std::string> env;
  std::filesystem::path workDir;
  std::chrono::seconds limit{60};
  // Root reads and writes past permission bits; this takes that power away
  // from the program (not from the test) so chmod means what it says.
  bool withoutFileOverride = false;
  // When above 0, writing a file past this many bytes fails as on a full disk.
  long fileSizeLimit = 0;
};

struct cRunOutcome {
  bool started = false;
  bool timedOut = false;            // killed at the limit
  bool cannotDropOverride = false;  // withoutFileOverride asked, but this system did not allow it
  int exitStatus = -1;              // status given to exit(), or -1 when ended by a signal
  int signal = 0;                   // the signal that ended it, or 0
  std::string out;
  std::string err;
};

/// Runs `program` with `run`'s arguments and environment; kills it once the limit has passed.
cRunOutcome RunLimited(const std::string& program, const cLimitedRun& run);
