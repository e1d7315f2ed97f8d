#include "platform/Collation.h"

#include <unicode/coll.h>
#include <unicode/locid.h>

#include <stdexcept>

struct cJapaneseCollator::Impl {
  std::unique_ptr<icu::Collator> collator;
};

cJapaneseCollator::cJapaneseCollator() : m_Impl(std::make_unique<Impl>()) {
  UErrorCode err = U_ZERO_ERROR;
  m_Impl->collator.reset(icu::Collator::createInstance(icu::Locale::getJapanese(), err));
  if (U_FAILURE(err) || !m_Impl->collator) throw std::runtime_error("Japanese collation is not available");
  // Secondary strength: voiced marks count, letter case and width do not.
  m_Impl->collator->setStrength(icu::Collator::SECONDARY);
}

cJapaneseCollator::~cJapaneseCollator() = default;

bool cJapaneseCollator::Less(std::string_view a, std::string_view b) const {
  UErrorCode err = U_ZERO_ERROR;
  return m_Impl->collator->compareUTF8(icu::StringPiece(a.data(), static_cast<int32_t>(a.size())),
                                      icu::StringPiece(b.data(), static_cast<int32_t>(b.size())), err) == UCOL_LESS;
}
