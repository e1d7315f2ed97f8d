#include <string_view>

#include "report/ExportColumns.h"
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
    for (const std::string& no : RacersInOrder(sensyu)) {
      m_Cells.clear();
      AppendRacerCells(sensyu, no, layout, m_Cells);
      for (int16_t course = 1; course <= 6; ++course) AppendCourseCells(sensyu, no, course, m_Cells);
      for (std::size_t i = 0; i < m_Cells.size(); ++i) Cell(m_Types[i], m_Cells[i].text);
      EndRow();
    }
  }

  std::string Finish() override { return std::move(m_Bytes); }

 private:
  void Head(eColumnType type, const std::string& name) {
    m_Types.push_back(type);
    Field(name);
  }

  void Cell(eColumnType type, const std::string& text) {
    if (type == eColumnType::Text && ReadsAsFormula(text)) {
      Field("'" + text);
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
  std::vector<cCell> m_Cells;
  bool m_InRow = false;
};

}  // namespace

std::unique_ptr<cTableWriter> MakeCsvTable() { return std::make_unique<cCsvTable>(); }
