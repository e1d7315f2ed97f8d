#pragma once
#include <variant>

#include "sensyu/RecordLayout.h"
#include "sensyu/cSensyuFile.h"

// The loader's side of the layout table: the member that stores each field.
enum class ePeriodField { Nen, Ki, YmdStart, YmdEnd };
// The branch field also stands as the birthplace until a 416-byte line's
// trailing birthplace field says otherwise.
enum class eFieldRule { Plain, AlsoBirthplace, BirthplaceTail };

using cFieldMember =
    std::variant<cSensyuFile::PerRacerText cSensyuFile::*, cSensyuFile::PerRacerInt cSensyuFile::*,
                 cSensyuFile::PerRacerFloat cSensyuFile::*, cSensyuFile::PerCourseInt cSensyuFile::*,
                 cSensyuFile::PerCourseFloat cSensyuFile::*, ePeriodField>;

struct cFieldStore {
  cFieldMember member;
  eFieldRule rule;
};

/// How the field of `row` (cRecordField::row) is stored.
const cFieldStore& FieldStore(int row);
