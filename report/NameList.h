#pragma once
#include <string>
#include <vector>

// lstName: the run's name list, kept in index order — first by the first
// character of the trimmed reading, then by Japanese dictionary order of the
// whole entry (case-insensitive); equal entries keep their insertion order.
class cNameList {
 public:
  cNameList();
  ~cNameList();
  cNameList(const cNameList&) = delete;
  cNameList& operator=(const cNameList&) = delete;

  void Clear();
  /// Inserts the entry at its place.
  void AddItem(const std::string& entry);
  int ListCount() const;
  /// Puts the entries in index order now rather than at the first read.
  void Sort() const;
  /// The entry at position 0..ListCount()-1.
  const std::string& List(int index) const;

 private:
  struct Impl;
  Impl* m_Impl;
};
