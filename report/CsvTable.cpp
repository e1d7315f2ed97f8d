#include <charconv>
#include <span>
#include <string>
#include <string_view>

#include "report/ExportColumns.h"
#include "report/RacerRows.h"
#include "report/TableWriter.h"
#include "sensyu/cSensyuFile.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";  // Excel reads UTF-8 without it as Shift_JIS

// A spreadsheet takes a cell that starts like this for a formula, even quoted;
// text from a fan file is never meant as one.
bool ReadsAsFormula(std::string_view text) {
  return !text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
}

class cCsvTable : public cTableWriter {
 public:
  cCsvTable() {
    m_Bytes = kByteOrderMark;
    for (const cColumn& column : RacerColumns()) Head(column.type, column.name);
    for (int course = 1; course <= 6; ++course) {
      for (const cColumn& column : CourseColumns()) {
        Head(column.type, "c" + std::to_string(course) + "_" + column.name);
      }
    }
    EndRow();
  }

  void AddPeriod(const cSensyuFile& sensyu, eRecordLayout layout, const std::string&) override {
    ForEachRacerRows(sensyu, layout, [&](std::span<const cRacerRows> stretch) {
      for (const cRacerRows& rows : stretch) {
        std::size_t column = 0;
        for (const std::vector<cCell>* cells : {&rows.racer, &rows.courses}) {
          for (const cCell& cell : *cells) Cell(m_Types[column++], cell);
        }
        EndRow();
      }
    });
  }

  std::string Finish() override { return std::move(m_Bytes); }

 private:
  void Head(eColumnType type, const std::string& name) {
    m_Types.push_back(type);
    Field(name);
  }

  void Cell(eColumnType type, const cCell& cell) {
    if (cell.kind != cCell::eKind::Whole) return Cell(type, cell.text);
    char digits[24];
    Cell(type, std::string_view(digits, std::to_chars(digits, digits + sizeof digits, cell.whole).ptr));
  }

  void Cell(eColumnType type, std::string_view text) {
    if (type == eColumnType::Text && ReadsAsFormula(text)) {
      Field("'" + std::string(text));
    } else {
      Field(text);
    }
  }

  // RFC 4180: a field holding a comma, a quote or a line end is quoted, its quotes doubled.
  void Field(std::string_view text) {
    if (m_InRow) m_Bytes += ',';
    m_InRow = true;
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
      m_Bytes += text;
      return;
    }
    m_Bytes += '"';
    for (char c : text) {
      if (c == '"') m_Bytes += '"';
      m_Bytes += c;
    }
    m_Bytes += '"';
  }

  void EndRow() {
    m_Bytes += "\r\n";
    m_InRow = false;
  }

  std::string m_Bytes;
  std::vector<eColumnType> m_Types;  // of each column in the row
  bool m_InRow = false;
};

}  // namespace

std::unique_ptr<cTableWriter> MakeCsvTable() { return std::make_unique<cCsvTable>(); }
