#pragma once
#include <memory>
#include <string_view>

// Japanese dictionary order as the system's Japanese locale sorts: voiced
// marks count; letter case, width and kana type do not.
class cJapaneseCollator {
 public:
  cJapaneseCollator();
  ~cJapaneseCollator();
  cJapaneseCollator(const cJapaneseCollator&) = delete;
  cJapaneseCollator& operator=(const cJapaneseCollator&) = delete;

  /// True when UTF-8 text `a` sorts before `b`.
  bool Less(std::string_view a, std::string_view b) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> m_Impl;
};
