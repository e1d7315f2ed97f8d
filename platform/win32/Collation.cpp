#include "platform/Collation.h"

#include "platform/win32/Wide.h"

struct cJapaneseCollator::Impl {};

cJapaneseCollator::cJapaneseCollator() = default;

cJapaneseCollator::~cJapaneseCollator() = default;

bool cJapaneseCollator::Less(std::string_view a, std::string_view b) const {
  const std::wstring wa = Widen(a), wb = Widen(b);
  return ::CompareStringEx(L"ja-JP", NORM_IGNORECASE | NORM_IGNOREWIDTH | NORM_IGNOREKANATYPE, wa.c_str(),
                           static_cast<int>(wa.size()), wb.c_str(), static_cast<int>(wb.size()), nullptr, nullptr,
                           0) == CSTR_LESS_THAN;
}
