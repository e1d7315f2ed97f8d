// Loads of the fan files under tests/data/, each compared property by
// property with the expected dump beside its row.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/Path.h"
#include "support/FakeWindow.h"
#include "support/PropertyDump.h"
#include "support/TestData.h"

namespace {

cSensyuNoList Wanted(const std::string& column) {
  cSensyuNoList list;
  std::istringstream in(column == "-" ? "" : column);
  for (std::string no; std::getline(in, no, ',');) list.push_back(no);
  return list;
}

TEST(FileLoad, MatchesExpectedDumps) {
  for (const auto& row : ReadRows("load/rows.txt")) {
    SCOPED_TRACE(row[0]);
    cFakeWindow window;
    cSensyuFile f(window);
    const int16_t intRev = row[2] == "old2" ? 2 : 0;
    cSensyuNoList list;
    if (row[4] != "-") { ASSERT_TRUE(f.FileLoad(PathToUtf8(DataPath(row[4])), list, intRev)); }
    list = Wanted(row[3]);
    const bool loaded = f.FileLoad(PathToUtf8(DataPath(row[1])), list, intRev);
    std::ostringstream got;
    got << "loaded=" << loaded << " list=";
    for (const std::string& no : list) got << no << ",";
    got << "\n";
    for (const auto& box : window.boxes) {
      std::string text = box.text;  // the data folder differs from checkout to checkout
      if (auto at = text.find(TEST_DATA_DIR); at != std::string::npos) text.replace(at, sizeof TEST_DATA_DIR - 1, "DATA");
      got << "box " << box.caption << ": " << text << "\n";
    }
    for (const cDamagedRecord& record : f.DamagedRecords()) got << "damaged " << DamagedRecordLine(record) << "\n";
    if (!f.DamagedRecords().empty()) got << "told " << LoadReportText(f.DamagedRecords()) << "\n";
    ExpectMatchesFile(got.str() + DumpRacers(f), "load/" + row[0] + ".dump");
  }
}

// A course outside 1..6 or a slot below 0 is a caller's error, told as such.
TEST(FileLoad, RefusesCoursesAndSlotsThatDoNotExist) {
  cFakeWindow window;
  cSensyuFile f(window);
  cSensyuNoList list;
  ASSERT_TRUE(f.FileLoad(PathToUtf8(DataPath("full_record.txt")), list));
  EXPECT_EQ(f.SensyuNo(0), "");
  EXPECT_THROW(f.SensyuNo(-1), std::out_of_range);
  for (int16_t course : {0, 7}) EXPECT_THROW(f.Course1FinishTimes("4321", course), std::out_of_range) << course;
  EXPECT_EQ(f.Course1FinishTimes("9999", 7), 0);  // not loaded: 0 whatever the course
}

}  // namespace
