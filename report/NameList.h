#pragma once
#include <string>
#include <vector>

/// One racer of the index: the reading (NameKana as stored), the racer
/// number, the relative link to the racer page and the kanji name.
struct cNameEntry {
  std::string reading, no, link, name;
};

// lstName: the run's name list, kept in index order — first by the first
// character of the trimmed reading, then by Japanese dictionary order of the
// whole entry "reading TAB number CR link CR name" (case-insensitive); equal
// entries keep their insertion order.
class cNameList {
 public:
  cNameList();
  ~cNameList();
  cNameList(const cNameList&) = delete;
  cNameList& operator=(const cNameList&) = delete;

  void Clear();
  /// Inserts the entry at its place.
  void AddItem(cNameEntry entry);
  int ListCount() const;
  /// Puts the entries in index order now rather than at the first read.
  void Sort() const;
  /// The entry at position 0..ListCount()-1.
  const cNameEntry& List(int index) const;

 private:
  struct Impl;
  Impl* m_Impl;
};

/// The reading as the index shows it: up to a TAB the file may hold, blanks trimmed.
std::string_view ShownReading(const cNameEntry& entry);
