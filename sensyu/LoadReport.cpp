#include "sensyu/LoadReport.h"

#include <algorithm>

namespace {

constexpr std::size_t kShownRecords = 10;

std::string FieldName(const cRecordField& field) {
  static const char* const kCourse[] = {"", "１", "２", "３", "４", "５", "６"};
  const std::string label(field.label);
  return field.course > 0 ? kCourse[field.course] + std::string("コースの") + label : label;
}

// The file's own bytes reach the user's terminal: a control character there
// could move the cursor or clear the screen.
std::string Printable(std::string text) {
  std::replace_if(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }, '?');
  return text;
}

std::string What(const cDamagedRecord& r) {
  const std::string stopped = "。この欄から後は読み取っていません";
  switch (r.damage) {
    case eRecordDamage::Cut:
      return std::to_string(r.length) + " バイトで切れています（" + FieldName(*r.field) +
             (r.length > r.field->offset ? "の欄の途中）" : "の欄から後がありません）");
    case eRecordDamage::NotANumber:
      if (r.fieldText.find_first_not_of(' ') == std::string::npos) return FieldName(*r.field) + "の欄が空です" + stopped;
      return FieldName(*r.field) + "の欄が数字ではありません（「" + Printable(r.fieldText) + "」）" + stopped;
    case eRecordDamage::NotARacerNumber: return "登録番号が 4 桁の数字ではないため、読み取っていません";
    case eRecordDamage::RepeatedNumber: break;
  }
  const std::string used = std::to_string(r.usedLine) + " 行目";
  return used + "と同じ登録番号です。この行は読み取らず、" + used + "のレコードを使いました";
}

}  // namespace

std::string DamagedRecordLine(const cDamagedRecord& record) {
  return "ファン手帳ファイルの " + std::to_string(record.line) + " 行目（登録番号 " + Printable(record.sensyuNo) +
         "）: " + What(record);
}

std::vector<std::string> LoadReportLines(const std::vector<cDamagedRecord>& records) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < records.size() && i < kShownRecords; ++i) lines.push_back(DamagedRecordLine(records[i]));
  if (records.size() > kShownRecords) lines.push_back("ほか " + std::to_string(records.size() - kShownRecords) + " 件");
  return lines;
}

std::string LoadReportText(const std::vector<cDamagedRecord>& records) {
  std::string text = "ファン手帳ファイルに読み取れないところがありました。ページは読み取れた内容で作成しました。\r\n";
  for (const std::string& line : LoadReportLines(records)) text += "\r\n" + line;
  return text;
}
