#pragma once
#include <cstddef>
#include <string_view>
#include <vector>

// The byte layout of a fan handbook record, written down once (in
// RecordLayout.cpp): the loader cuts records by it and the sample generator
// writes them by it.

enum class eRecordLayout { Current, Old2 };

enum class eFieldKind {
  Text,        // code page 932 text, stored as decoded, blanks and all
  Integer,     // a 16-bit count
  Tenths,      // the number ÷ 10 as a float (one implied decimal)
  Hundredths,  // the number ÷ 100 as a float (two implied decimals)
  Index,       // the number ÷ 100 rounded half to even, 16-bit
};

// How the data out gives a field beyond its kind: a date in ISO form, or the
// period's year in four digits.
enum class eExportForm { AsStored, Date, Year };

struct cRecordField {
  std::string_view name;        // the property that reads it: "NameKanji", "CourseF0Times", "Nen"
  std::string_view exportName;  // its column in the data out: "name_kanji", "f0" (c1_f0 ... for the courses)
  std::size_t offset;     // from the start of the line, in bytes
  std::size_t width;      // in bytes
  eFieldKind kind;
  int course;  // 1..6 in the two course blocks, else 0
  int row;     // the field's row in the layout table, which also names its member
  eExportForm form;
};

/// Every field of the layout in file order, the course blocks course 1 first.
const std::vector<cRecordField>& RecordFields(eRecordLayout layout);
