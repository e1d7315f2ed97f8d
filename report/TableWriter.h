#pragma once
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "sensyu/RecordLayout.h"

class cSensyuFile;

// The data out: every racer of every period given as one table file, made in
// memory and written by the caller in one piece.

enum class eTableFormat { Csv, Sqlite };

/// The format a file's extension asks for: .csv, or .sqlite / .db, in any
/// letter case; nothing for any other name.
std::optional<eTableFormat> TableFormatOf(const std::filesystem::path& file);

/// A table that could not be made (the database refused a step); what() says why.
class cTableFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class cTableWriter {
 public:
  virtual ~cTableWriter() = default;
  /// Adds a loaded period's racers in racer-number order; periods are added
  /// newest first. `layout`: the one it was loaded in; `source`: the file's name.
  virtual void AddPeriod(const cSensyuFile& sensyu, eRecordLayout layout, const std::string& source) = 0;
  /// The table file's bytes. Throws cTableFailure.
  virtual std::string Finish() = 0;
};

/// CSV as spreadsheets read it: UTF-8 with a byte-order mark, CR LF, RFC 4180 quoting, a header row.
std::unique_ptr<cTableWriter> MakeCsvTable();
/// An SQLite database with the tables periods, racers and courses, made in one transaction. Throws cTableFailure.
std::unique_ptr<cTableWriter> MakeSqliteTable();
/// The writer of `format`.
std::unique_ptr<cTableWriter> MakeTableWriter(eTableFormat format);
