#pragma once
#include <filesystem>
#include <map>
#include <string>
#include <vector>

// What a folder tree holds, entry by entry, without following links: each
// entry's path relative to the root and a description of it (a folder, a
// link and its target, or a file's size, permissions and content hash).
using cTreeSnapshot = std::map<std::string, std::string>;

/// Every entry under root (root itself excluded), links not followed; the
/// entry at the relative path `ignored` and all under it are left out ("" leaves out nothing).
cTreeSnapshot TakeSnapshot(const std::filesystem::path& root, const std::string& ignored);
/// The entries added, removed or changed between two snapshots, as readable lines.
std::vector<std::string> SnapshotChanges(const cTreeSnapshot& before, const cTreeSnapshot& after);
