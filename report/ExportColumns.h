#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sensyu/RecordLayout.h"

class cSensyuFile;

// The columns of the data out and a racer's values in them. The record
// fields come from the loader's own layout table in record order, after the
// period and racer number that key a row, and are followed by the figures the
// racer page derives from them. A course's columns are named without their
// course: the CSV writes "c1_entries", the database a row per course.

enum class eColumnType { Integer, Real, Text };

struct cColumn {
  std::string name;
  eColumnType type;
};

/// A value as the CSV writes it: plain digits, a decimal with its field's
/// places, or text without its padding. `null` when there is none (a date that is no date).
struct cCell {
  std::string text;
  bool null = false;
};

/// A racer's columns in one period, the key (year, half, racer_no) first.
const std::vector<cColumn>& RacerColumns();
/// The columns of one course of a racer.
const std::vector<cColumn>& CourseColumns();
/// Racer `no`'s values in the order of RacerColumns(), appended to `cells`;
/// `layout` is the one the file was loaded in (its two-digit years get their century).
void AppendRacerCells(const cSensyuFile& sensyu, const std::string& no, eRecordLayout layout,
                      std::vector<cCell>& cells);
/// Racer `no`'s values of course `course` (1..6) in the order of CourseColumns(), appended to `cells`.
void AppendCourseCells(const cSensyuFile& sensyu, const std::string& no, int16_t course, std::vector<cCell>& cells);
/// The period's year, half, first and last day, as the racers' rows give them.
std::vector<cCell> PeriodCells(const cSensyuFile& sensyu, eRecordLayout layout);
/// The loaded racers in racer-number order, each number once (its first record).
std::vector<std::string> RacersInOrder(const cSensyuFile& sensyu);
