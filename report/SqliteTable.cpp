#include <sqlite3.h>

#include <charconv>
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

std::string Schema() {
  const std::vector<cColumn>& racer = RacerColumns();
  return std::string(kPeriods) + "CREATE TABLE racers (" + ColumnList(racer).substr(2) +
         ", PRIMARY KEY (year, half, racer_no), FOREIGN KEY (year, half) REFERENCES periods (year, half)) "
         "WITHOUT ROWID;"
         "CREATE TABLE courses (year INTEGER NOT NULL, half INTEGER NOT NULL, racer_no TEXT NOT NULL, "
         "course INTEGER NOT NULL" + ColumnList(CourseColumns()) +
         ", PRIMARY KEY (year, half, racer_no, course), "
         "FOREIGN KEY (year, half, racer_no) REFERENCES racers (year, half, racer_no)) WITHOUT ROWID;"
         "CREATE INDEX racers_racer_no ON racers (racer_no);"
         "CREATE INDEX courses_racer_no ON courses (racer_no);"
         "PRAGMA user_version = " + std::to_string(kSchemaVersion) + ";";
}

struct cCloseDb {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct cFinalize {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

// A prepared INSERT and the type of each of its values.
struct cInsert {
  std::unique_ptr<sqlite3_stmt, cFinalize> statement;
  std::vector<eColumnType> types;
};

std::vector<eColumnType> TypesOf(std::vector<eColumnType> types, const std::vector<cColumn>& columns) {
  for (const cColumn& column : columns) types.push_back(column.type);
  return types;
}

class cSqliteTable : public cTableWriter {
 public:
  cSqliteTable() {
    sqlite3* db = nullptr;
    const int opened = sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    m_Db.reset(db);
    Check(opened);
    Execute(Schema() + "BEGIN;");
    using T = eColumnType;
    m_Period = Prepare("periods", {T::Integer, T::Integer, T::Text, T::Text, T::Text});
    m_Racer = Prepare("racers", TypesOf({}, RacerColumns()));
    m_Course = Prepare("courses", TypesOf({T::Integer, T::Integer, T::Text, T::Integer}, CourseColumns()));
  }

  void AddPeriod(const cSensyuFile& sensyu, eRecordLayout layout, const std::string& source) override {
    const std::vector<cCell> period = PeriodCells(sensyu, layout);
    std::vector<cCell> cells = period;
    cells.push_back({source});
    Run(m_Period, cells);
    for (const std::string& no : RacersInOrder(sensyu)) {
      cells.clear();
      AppendRacerCells(sensyu, no, layout, cells);
      Run(m_Racer, cells);
      for (int16_t course = 1; course <= 6; ++course) {
        cells.assign({period[0], period[1], {no}, {std::to_string(course)}});
        AppendCourseCells(sensyu, no, course, cells);
        Run(m_Course, cells);
      }
    }
  }

  std::string Finish() override {
    Execute("COMMIT;");
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

  cInsert Prepare(const char* table, std::vector<eColumnType> types) {
    std::string sql = std::string("INSERT INTO ") + table + " VALUES (?";
    for (std::size_t i = 1; i < types.size(); ++i) sql += ",?";
    sqlite3_stmt* statement = nullptr;
    Check(sqlite3_prepare_v2(m_Db.get(), (sql + ")").c_str(), -1, &statement, nullptr));
    return {std::unique_ptr<sqlite3_stmt, cFinalize>(statement), std::move(types)};
  }

  void Bind(sqlite3_stmt* statement, int at, eColumnType type, const std::string& text) {
    const char* end = text.data() + text.size();
    if (type == eColumnType::Integer) {
      sqlite3_int64 value = 0;
      std::from_chars(text.data(), end, value);
      Check(sqlite3_bind_int64(statement, at, value));
    } else if (type == eColumnType::Real) {
      double value = 0;
      std::from_chars(text.data(), end, value);
      Check(sqlite3_bind_double(statement, at, value));
    } else {
      Check(sqlite3_bind_text(statement, at, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT));
    }
  }

  void Run(const cInsert& insert, const std::vector<cCell>& cells) {
    sqlite3_stmt* statement = insert.statement.get();
    for (std::size_t i = 0; i < cells.size(); ++i) {
      const int at = static_cast<int>(i + 1);
      if (cells[i].null) {
        Check(sqlite3_bind_null(statement, at));
      } else {
        Bind(statement, at, insert.types[i], cells[i].text);
      }
    }
    Check(sqlite3_step(statement));
    Check(sqlite3_reset(statement));
  }

  std::unique_ptr<sqlite3, cCloseDb> m_Db;
  cInsert m_Period, m_Racer, m_Course;
};

}  // namespace

std::unique_ptr<cTableWriter> MakeSqliteTable() { return std::make_unique<cSqliteTable>(); }
