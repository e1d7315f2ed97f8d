#include <sqlite3.h>

#include <memory>

#include "report/ExportColumns.h"
#include "report/TableWriter.h"
#include "sensyu/cSensyuFile.h"

namespace {

// Raised when the tables change shape, so that scripts can tell.
constexpr int kSchemaVersion = 1;

constexpr const char* kPeriods =
    "CREATE TABLE periods (year INTEGER NOT NULL, half INTEGER NOT NULL, period_start TEXT, period_end TEXT, "
    "source_file TEXT NOT NULL, PRIMARY KEY (year, half));";

const char* SqlType(eColumnType type) {
  switch (type) {
    case eColumnType::Integer: return "INTEGER";
    case eColumnType::Real: return "REAL";
    case eColumnType::Text: break;
  }
  return "TEXT";
}

std::string ColumnList(const std::vector<cColumn>& columns) {
  std::string list;
  for (const cColumn& column : columns) list += ", \"" + column.name + "\" " + SqlType(column.type);
  return list;
}

// Made once the rows are in: one sort instead of an insert per row.
constexpr const char* kIndexes =
    "CREATE INDEX racers_racer_no ON racers (racer_no);"
    "CREATE INDEX courses_racer_no ON courses (racer_no);";

std::string Schema() {
  const std::vector<cColumn>& racer = RacerColumns();
  return std::string(kPeriods) + "CREATE TABLE racers (" + ColumnList(racer).substr(2) +
         ", PRIMARY KEY (year, half, racer_no), FOREIGN KEY (year, half) REFERENCES periods (year, half)) "
         "WITHOUT ROWID;"
         "CREATE TABLE courses (year INTEGER NOT NULL, half INTEGER NOT NULL, racer_no TEXT NOT NULL, "
         "course INTEGER NOT NULL" + ColumnList(CourseColumns()) +
         ", PRIMARY KEY (year, half, racer_no, course), "
         "FOREIGN KEY (year, half, racer_no) REFERENCES racers (year, half, racer_no)) WITHOUT ROWID;"
         "PRAGMA user_version = " + std::to_string(kSchemaVersion) + ";";
}

struct cCloseDb {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct cFinalize {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

using cStatement = std::unique_ptr<sqlite3_stmt, cFinalize>;

class cSqliteTable : public cTableWriter {
 public:
  cSqliteTable() {
    sqlite3* db = nullptr;
    // One thread, a database in memory that is thrown away on any failure:
    // neither a lock per call nor a rollback journal is of use.
    const int opened =
        sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    m_Db.reset(db);
    Check(opened);
    Execute("PRAGMA journal_mode = OFF;" + Schema() + "BEGIN;");
    m_Period = Prepare("periods", 5);
    m_Racer = Prepare("racers", RacerColumns().size());
    m_Course = Prepare("courses", 4 + CourseColumns().size());
  }

  void AddPeriod(const cSensyuFile& sensyu, eRecordLayout layout, const std::string& source) override {
    const std::vector<cCell> period = PeriodCells(sensyu, layout);
    std::vector<cCell> cells = period;
    cells.push_back({source});
    Run(m_Period.get(), cells);
    for (const std::string& no : RacersInOrder(sensyu)) {
      cells.clear();
      AppendRacerCells(sensyu, no, layout, cells);
      Run(m_Racer.get(), cells);
      for (int16_t course = 1; course <= 6; ++course) {
        cells.assign({period[0], period[1], {no}, {std::to_string(course)}});
        AppendCourseCells(sensyu, no, course, cells);
        Run(m_Course.get(), cells);
      }
    }
  }

  std::string Finish() override {
    Execute(std::string(kIndexes) + "COMMIT;");
    sqlite3_int64 size = 0;
    unsigned char* bytes = sqlite3_serialize(m_Db.get(), "main", &size, 0);
    if (bytes == nullptr) throw cTableFailure("the database could not be serialized");
    std::string file(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
    sqlite3_free(bytes);
    return file;
  }

 private:
  void Check(int status) {
    if (status != SQLITE_OK && status != SQLITE_DONE) throw cTableFailure(sqlite3_errmsg(m_Db.get()));
  }

  void Execute(const std::string& sql) { Check(sqlite3_exec(m_Db.get(), sql.c_str(), nullptr, nullptr, nullptr)); }

  cStatement Prepare(const char* table, std::size_t values) {
    std::string sql = std::string("INSERT INTO ") + table + " VALUES (?";
    for (std::size_t i = 1; i < values; ++i) sql += ",?";
    sqlite3_stmt* statement = nullptr;
    Check(sqlite3_prepare_v2(m_Db.get(), (sql + ")").c_str(), -1, &statement, nullptr));
    return cStatement(statement);
  }

  // Every value goes in as its text: a column declared INTEGER or REAL keeps
  // the number the text reads as, so 5.34 is stored as the CSV shows it.
  void Run(sqlite3_stmt* statement, const std::vector<cCell>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
      const int at = static_cast<int>(i + 1);
      const std::string& text = cells[i].text;
      // Bound in place, uncopied: the cells outlive the step.
      Check(cells[i].null ? sqlite3_bind_null(statement, at)
                          : sqlite3_bind_text(statement, at, text.data(), static_cast<int>(text.size()), nullptr));
    }
    Check(sqlite3_step(statement));
    Check(sqlite3_reset(statement));
    Check(sqlite3_clear_bindings(statement));  // before the cells go
  }

  std::unique_ptr<sqlite3, cCloseDb> m_Db;
  cStatement m_Period, m_Racer, m_Course;
};

}  // namespace

std::unique_ptr<cTableWriter> MakeSqliteTable() { return std::make_unique<cSqliteTable>(); }
