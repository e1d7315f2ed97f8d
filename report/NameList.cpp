#include "report/NameList.h"

#include <algorithm>
#include <cassert>

#include "platform/Collation.h"
#include "report/TrimBlanks.h"

namespace {

struct Entry {
  cNameEntry entry;
  // The entry as one text, as the sorted list box of the Windows program held
  // it: the collator orders these.
  std::string text;
  // Byte order of UTF-8 is code point order, so the first character's bytes
  // sort the headings; the empty text (a blank reading) comes first.
  std::string initial;
};

}  // namespace

// Entries are appended as they come and sorted once when first read: a run
// adds tens of thousands before the index page reads any back.
struct cNameList::Impl {
  cJapaneseCollator collator;
  std::vector<Entry> entries;
  std::vector<std::size_t> order;  // entries in index order: sorting moves these, not the entries
  bool sorted = true;

  // Entries are compared with the collator only within a heading: far fewer
  // comparisons than there are entries to make sort keys for.
  bool InIndexOrder(const Entry& a, const Entry& b) const {
    if (a.initial != b.initial) return a.initial < b.initial;
    return collator.Less(a.text, b.text);
  }

  void Sort() {
    if (sorted) return;
    order.resize(entries.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [this](std::size_t a, std::size_t b) { return InIndexOrder(entries[a], entries[b]); });
    sorted = true;
  }
};

cNameList::cNameList() : m_Impl(new Impl) {}

cNameList::~cNameList() { delete m_Impl; }

void cNameList::Clear() {
  m_Impl->entries.clear();
  m_Impl->order.clear();
  m_Impl->sorted = true;
}

void cNameList::AddItem(cNameEntry entry) {
  std::string text = entry.reading + "\t" + entry.no + "\r" + entry.link + "\r" + entry.name;
  std::string initial(ReadingInitial(ShownReading(entry)));
  m_Impl->entries.push_back({std::move(entry), std::move(text), std::move(initial)});
  m_Impl->sorted = false;
}

void cNameList::Sort() const { m_Impl->Sort(); }

int cNameList::ListCount() const { return static_cast<int>(m_Impl->entries.size()); }

const cNameEntry& cNameList::List(int index) const {
  assert(index >= 0 && index < ListCount());
  m_Impl->Sort();
  return m_Impl->entries[m_Impl->order[static_cast<std::size_t>(index)]].entry;
}

std::string_view ShownReading(const cNameEntry& entry) {
  const std::string_view reading = entry.reading;
  return TrimBlanks(reading.substr(0, reading.find('\t')));
}
