#pragma once
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "platform/Path.h"

// A small site on disk for the staging and output-folder tests: planted from
// a table of pages and read back into one, named as on the web ("4000/4001.html").

using cTree = std::map<std::string, std::string>;  // relative path → bytes, files only

inline const cTree kOld = {{"ファン手帳.html", "old roster"}, {"索引.html", "old index"}, {"4000/4001.html", "old"},
                           {"5000/5001.html", "old"}, {"ランキング.html", "old ranking"}, {"出走表.html", "old card"}};
inline const cTree kNew = {{"ファン手帳.html", "new roster"}, {"索引.html", "new index"}, {"4000/4001.html", "new"},
                           {"3000/3001.html", "new"}};
// What the user puts into the output folder while the run is going on.
inline const cTree kUsers = {{"notes.txt", "mine"}, {"5000/photo.jpg", "mine too"}, {"photos/a.jpg", "and this"}};

inline void Plant(const std::filesystem::path& folder, const cTree& tree) {
  for (const auto& [name, bytes] : tree) {
    std::filesystem::create_directories((folder / PathFromUtf8(name)).parent_path());
    std::ofstream(folder / PathFromUtf8(name), std::ios::binary) << bytes;
  }
}

inline cTree Tree(const std::filesystem::path& folder) {
  cTree tree;
  if (!std::filesystem::exists(folder)) return tree;
  for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) {
    if (!e.is_regular_file()) continue;
    std::ifstream in(e.path(), std::ios::binary);
    tree[PathToWebUtf8(e.path().lexically_relative(folder))] = std::string(std::istreambuf_iterator<char>(in), {});
  }
  return tree;
}

inline cTree With(cTree tree, const cTree& more) {
  tree.insert(more.begin(), more.end());
  return tree;
}
