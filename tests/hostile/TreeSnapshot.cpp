#include "TreeSnapshot.h"

#include <fstream>
#include <functional>
#include <iterator>

namespace fs = std::filesystem;

namespace {

std::string Describe(const fs::directory_entry& entry) {
  std::error_code ec;
  const fs::file_status status = entry.symlink_status(ec);
  if (fs::is_symlink(status)) return "link to " + fs::read_symlink(entry.path(), ec).string();
  if (fs::is_directory(status)) return "folder";
  if (!fs::is_regular_file(status)) return "special file";
  const auto mode = static_cast<unsigned>(status.permissions() & fs::perms::mask);
  std::string description = "file of " + std::to_string(entry.file_size(ec)) + " bytes, mode " + std::to_string(mode);
  std::ifstream in(entry.path(), std::ios::binary);
  if (!in) return description + ", unreadable";
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return description + ", hash " + std::to_string(std::hash<std::string>{}(bytes));
}

bool IsAtOrUnder(const std::string& path, const std::string& ignored) {
  return !ignored.empty() && (path == ignored || path.starts_with(ignored + "/"));
}

}  // namespace

cTreeSnapshot TakeSnapshot(const fs::path& root, const std::string& ignored) {
  cTreeSnapshot snapshot;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
    const std::string path = it->path().lexically_relative(root).generic_string();
    if (IsAtOrUnder(path, ignored)) {
      it.disable_recursion_pending();
      continue;
    }
    snapshot[path] = Describe(*it);
  }
  return snapshot;
}

std::vector<std::string> SnapshotChanges(const cTreeSnapshot& before, const cTreeSnapshot& after) {
  std::vector<std::string> changes;
  for (const auto& [path, was] : before) {
    const auto now = after.find(path);
    if (now == after.end())
      changes.push_back("removed: " + path);
    else if (now->second != was)
      changes.push_back("changed: " + path + " (" + was + " -> " + now->second + ")");
  }
  for (const auto& [path, now] : after)
    if (!before.contains(path)) changes.push_back("added: " + path + " (" + now + ")");
  return changes;
}
