#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "report/ExportColumns.h"
#include "report/RacerRows.h"
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

void Check(sqlite3* db, int status) {
  if (status != SQLITE_OK && status != SQLITE_DONE) throw cTableFailure(sqlite3_errmsg(db));
}

cStatement PrepareInsert(sqlite3* db, const std::string& table, std::size_t values, std::size_t rows) {
  std::string row = "(?";
  for (std::size_t i = 1; i < values; ++i) row += ",?";
  row += ")";
  std::string sql = "INSERT INTO " + table + " VALUES " + row;
  for (std::size_t i = 1; i < rows; ++i) sql += "," + row;
  sqlite3_stmt* statement = nullptr;
  Check(db, sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr));
  return cStatement(statement);
}

// A whole number goes in as the number, which is what its digits would turn
// into in a column declared INTEGER or REAL. A decimal goes in as its text:
// the column makes of it the same REAL that the CSV's digits read back as.
void Bind(sqlite3* db, sqlite3_stmt* statement, int at, const cCell& cell) {
  switch (cell.kind) {
    case cCell::eKind::Whole: return Check(db, sqlite3_bind_int64(statement, at, cell.whole));
    case cCell::eKind::None: return Check(db, sqlite3_bind_null(statement, at));
    case cCell::eKind::Text: break;
  }
  // Bound in place, uncopied: the cells outlive the step.
  Check(db, sqlite3_bind_text(statement, at, cell.text.data(), static_cast<int>(cell.text.size()), nullptr));
}

// Rows of one table gathered and inserted many to a statement: a statement
// run for each row opens the table and seeks the row's place from its root.
class cInsert {
 public:
  static constexpr std::size_t kMostRows = 32;

  cInsert(sqlite3* db, std::string table, std::size_t columns)
      : m_Db(db),
        m_Table(std::move(table)),
        m_Columns(columns),
        m_Statements(std::clamp<std::size_t>(VariableLimit(db) / columns, 1, kMostRows) + 1) {}

  /// Adds the next value of the row being gathered; it must live until Flush().
  void Add(const cCell& cell) { m_Cells.push_back(&cell); }
  /// Ends the row; inserts the rows gathered once they fill a statement.
  void EndRow() {
    if (m_Cells.size() == (m_Statements.size() - 1) * m_Columns) Flush();
  }
  /// Inserts the rows gathered so far.
  void Flush() {
    const std::size_t rows = m_Cells.size() / m_Columns;
    if (rows == 0) return;
    cStatement& statement = m_Statements[rows];
    if (!statement) statement = PrepareInsert(m_Db, m_Table, m_Columns, rows);
    Run(statement.get());
    m_Cells.clear();
  }

 private:
  static std::size_t VariableLimit(sqlite3* db) {
    return static_cast<std::size_t>(sqlite3_limit(db, SQLITE_LIMIT_VARIABLE_NUMBER, -1));
  }

  // Every value is bound anew before each step, so what a step left bound
  // to cells that are gone is never read.
  void Run(sqlite3_stmt* statement) {
    for (std::size_t i = 0; i < m_Cells.size(); ++i) Bind(m_Db, statement, static_cast<int>(i + 1), *m_Cells[i]);
    Check(m_Db, sqlite3_step(statement));
    Check(m_Db, sqlite3_reset(statement));
  }

  sqlite3* m_Db;
  std::string m_Table;
  std::size_t m_Columns;
  std::vector<cStatement> m_Statements;  // by the number of rows they insert
  std::vector<const cCell*> m_Cells;
};

sqlite3* OpenInMemory() {
  sqlite3* db = nullptr;
  // One thread, a database in memory that is thrown away on any failure:
  // neither a lock per call nor a rollback journal is of use.
  const int opened =
      sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (opened == SQLITE_OK) return db;
  const std::string why = db ? sqlite3_errmsg(db) : sqlite3_errstr(opened);
  sqlite3_close(db);
  throw cTableFailure(why);
}

class cSqliteTable : public cTableWriter {
 public:
  cSqliteTable()
      : m_Db(Prepared()),
        m_Periods(m_Db.get(), "periods", 5),
        m_Racers(m_Db.get(), "racers", RacerColumns().size()),
        m_Courses(m_Db.get(), "courses", 4 + CourseColumns().size()) {}

  void AddPeriod(const cSensyuFile& sensyu, eRecordLayout layout, const std::string& source) override {
    const std::vector<cCell> period = PeriodCells(sensyu, layout);
    const cCell sourceCell = cCell::Text(source);
    for (const cCell& cell : period) m_Periods.Add(cell);
    m_Periods.Add(sourceCell);
    m_Periods.EndRow();
    m_Periods.Flush();
    const std::array<cCell, 6> courses{cCell::Whole(1), cCell::Whole(2), cCell::Whole(3),
                                       cCell::Whole(4), cCell::Whole(5), cCell::Whole(6)};
    const std::size_t perCourse = CourseColumns().size();
    ForEachRacerRows(sensyu, layout, [&](std::span<const cRacerRows> stretch) {
      for (const cRacerRows& rows : stretch) {
        for (const cCell& cell : rows.racer) m_Racers.Add(cell);
        m_Racers.EndRow();
        for (std::size_t course = 0; course < 6; ++course) {
          for (const cCell* key : {&period[0], &period[1], &rows.number, &courses[course]}) m_Courses.Add(*key);
          for (std::size_t i = 0; i < perCourse; ++i) m_Courses.Add(rows.courses[course * perCourse + i]);
          m_Courses.EndRow();
        }
      }
      // The stretch's cells go once this returns.
      m_Racers.Flush();
      m_Courses.Flush();
    });
  }

  std::string Finish() override {
    Execute(m_Db.get(), std::string(kIndexes) + "COMMIT;");
    sqlite3_int64 size = 0;
    unsigned char* bytes = sqlite3_serialize(m_Db.get(), "main", &size, 0);
    if (bytes == nullptr) throw cTableFailure("the database could not be serialized");
    std::string file(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
    sqlite3_free(bytes);
    return file;
  }

 private:
  static void Execute(sqlite3* db, const std::string& sql) {
    Check(db, sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr));
  }

  static std::unique_ptr<sqlite3, cCloseDb> Prepared() {
    std::unique_ptr<sqlite3, cCloseDb> db(OpenInMemory());
    Execute(db.get(), "PRAGMA journal_mode = OFF;" + Schema() + "BEGIN;");
    return db;
  }

  std::unique_ptr<sqlite3, cCloseDb> m_Db;
  cInsert m_Periods, m_Racers, m_Courses;
};

}  // namespace

std::unique_ptr<cTableWriter> MakeSqliteTable() { return std::make_unique<cSqliteTable>(); }
