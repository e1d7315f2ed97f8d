#include <gtest/gtest.h>

#include "report/IsoDate.h"
#include "support/TestData.h"

namespace {

TEST(IsoDate, ReadsEveryRowAsExpected) {
  for (const auto& row : ReadRows("export/dates.txt")) EXPECT_EQ(IsoDate(row[0]).value_or("-"), row[1]) << row[0];
}

}  // namespace
