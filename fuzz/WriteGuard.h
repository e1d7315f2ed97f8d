#pragma once
#include <filesystem>
#include <vector>

// Records the paths the code under test opens for writing or creates as
// folders. The harness links with -Wl,--wrap for open, open64, fopen, fopen64,
// creat and mkdir, so the calls of the static libraries pass through here;
// calls made while the guard is not armed (the fuzzer's own) pass unrecorded.

/// Starts recording, forgetting earlier paths.
void ArmWriteGuard();
/// Stops recording and returns the paths written or created since ArmWriteGuard.
std::vector<std::filesystem::path> DisarmWriteGuard();
