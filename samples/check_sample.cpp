// check_sample [--blocks] [--expect N] FILE
// Reads a fan handbook file of 416-byte records by byte offset, on its own and
// without the generator's code, and checks that every figure is well formed and
// consistent with the others the way the official file's figures are. Prints a
// summary; exits 1 and lists the faults when any are found.

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "sensyu/Cp932.h"

namespace {

constexpr std::size_t kRecordBytes = 416;

struct Course {
  int starts, topTwo, timing, order;
  std::array<int, 6> places;
  int f0, l0, l1, k0, k1, s0, s1, s2;
};

class cRecordCheck {
 public:
  cRecordCheck(std::string_view record, int line, std::vector<std::string>& faults)
      : m_Record(record), m_Line(line), m_Faults(faults) {}

  int Num(std::size_t offset, std::size_t width, const char* name) {
    const std::string_view field = m_Record.substr(offset, width);
    int value = -1;
    auto [ptr, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (ec != std::errc() || ptr != field.data() + field.size() || field.find_first_not_of("0123456789") != field.npos)
      Fault(std::string(name) + " is not all digits: \"" + std::string(field) + "\"");
    return value;
  }

  std::string Text(std::size_t offset, std::size_t width, const char* name) {
    const std::string_view bytes = m_Record.substr(offset, width);
    std::string utf8 = Cp932ToUtf8(bytes);
    if (Utf8ToCp932(utf8) != bytes || utf8.find("〓") != std::string::npos)
      Fault(std::string(name) + " is not clean code page 932 text");
    return utf8;
  }

  void Expect(bool ok, const std::string& what) {
    if (!ok) Fault(what);
  }

 private:
  void Fault(const std::string& what) { m_Faults.push_back("line " + std::to_string(m_Line) + ": " + what); }

  std::string_view m_Record;
  int m_Line;
  std::vector<std::string>& m_Faults;
};

int RoundedRatio(int numerator, int denominator) {
  return denominator == 0 ? 0 : (2 * numerator + denominator) / (2 * denominator);
}

Course ReadCourse(cRecordCheck& c, int course) {
  const std::size_t a = 82 + 13 * static_cast<std::size_t>(course);
  const std::size_t b = 198 + 34 * static_cast<std::size_t>(course);
  Course k{};
  k.starts = c.Num(a, 3, "course starts");
  k.topTwo = c.Num(a + 3, 4, "course top-two rate");
  k.timing = c.Num(a + 7, 3, "course start timing");
  k.order = c.Num(a + 10, 3, "course start order");
  for (std::size_t p = 0; p < 6; ++p) k.places[p] = c.Num(b + 3 * p, 3, "course places");
  std::array<int*, 8> codes{&k.f0, &k.l0, &k.l1, &k.k0, &k.k1, &k.s0, &k.s1, &k.s2};
  for (std::size_t i = 0; i < codes.size(); ++i) *codes[i] = c.Num(b + 18 + 2 * i, 2, "course result code");
  return k;
}

void CheckCourse(cRecordCheck& c, const Course& k, int course) {
  const std::string at = " (course " + std::to_string(course + 1) + ")";
  int placed = 0;
  for (int p : k.places) placed += p;
  c.Expect(k.starts == placed + k.f0 + k.l1 + k.k0 + k.k1 + k.s1 + k.s2, "starts differ from results" + at);
  c.Expect(k.l0 + k.s0 <= placed, "L0 and S0 exceed the finishes" + at);
  c.Expect(k.topTwo == RoundedRatio(1000 * (k.places[0] + k.places[1]), k.starts), "top-two rate" + at);
  if (k.starts == 0) {
    c.Expect(k.timing == 0 && k.order == 0, "timings without starts" + at);
  } else {
    c.Expect(k.timing >= 1 && k.timing <= 40, "start timing" + at);
    c.Expect(k.order >= 100 && k.order <= 600, "start order" + at);
  }
}

bool IsHalfWidthKana(std::string_view utf8) {
  // U+FF61..U+FF9F are EF BD A1..EF BE 9F in UTF-8.
  for (std::size_t i = 0; i < utf8.size();) {
    if (utf8[i] == ' ') {
      ++i;
      continue;
    }
    if (i + 3 > utf8.size() || utf8[i] != '\xEF') return false;
    const auto b1 = static_cast<unsigned char>(utf8[i + 1]);
    const auto b2 = static_cast<unsigned char>(utf8[i + 2]);
    if (!((b1 == 0xBD && b2 >= 0xA1) || (b1 == 0xBE && b2 <= 0x9F))) return false;
    i += 3;
  }
  return true;
}

// "山田　太郎" then full-width spaces: one separator between two non-empty
// parts, every character full-width.
bool IsPaddedKanjiName(std::string name) {
  if (!std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
    return false;
  const std::string space = "　";
  while (name.size() >= space.size() && name.ends_with(space)) name.resize(name.size() - space.size());
  const std::size_t gap = name.find(space);
  return gap != std::string::npos && gap > 0 && gap + space.size() < name.size() &&
         name.find(space, gap + space.size()) == std::string::npos;
}

bool IsKanaName(const std::string& kana) {
  const std::size_t end = kana.find_last_not_of(' ');
  if (end == std::string::npos || !IsHalfWidthKana(kana)) return false;
  const std::string body = kana.substr(0, end + 1);
  const std::size_t gap = body.find(' ');
  return gap != std::string::npos && gap > 0 && body.find(' ', gap + 1) == std::string::npos;
}

bool IsClass(const std::string& k) { return k == "A1" || k == "A2" || k == "B1" || k == "B2"; }

// Age on 1 November 2025 from an era date such as "S571119" or "H100402".
int AgeOf(const std::string& birth) {
  if (birth.size() != 7 || (birth[0] != 'S' && birth[0] != 'H')) return -1;
  if (birth.find_first_not_of("0123456789", 1) != std::string::npos) return -1;
  const int yy = std::stoi(birth.substr(1, 2)), mm = std::stoi(birth.substr(3, 2)), dd = std::stoi(birth.substr(5, 2));
  if (mm < 1 || mm > 12 || dd < 1 || dd > 31) return -1;
  const int year = birth[0] == 'S' ? 1925 + yy : 1988 + yy;
  return 2025 - year - (mm > 11 || (mm == 11 && dd > 1) ? 1 : 0);
}

struct Summary {
  int records = 0, zeroStarts = 0, women = 0, backslashNames = 0, blocks = 0;
  std::map<std::string, int> classes;
  std::map<std::string, std::pair<long, int>> winRate;  // class -> sum, count
};

struct Previous {
  std::string number;
  int term = 0;
};

void CheckProfile(cRecordCheck& c, std::string_view record, Summary& s) {
  c.Expect(IsPaddedKanjiName(c.Text(4, 16, "kanji name")), "kanji name is not family, space, given");
  if (record.substr(4, 16).find('\x5C') != std::string_view::npos) ++s.backslashNames;
  c.Expect(IsKanaName(c.Text(20, 15, "kana name")), "kana name is not half-width family, space, given");
  const std::string branch = c.Text(35, 4, "branch");
  c.Expect(branch.size() == 6 && branch.find(' ') == std::string::npos, "branch is not two kanji");
  const std::string klass = c.Text(39, 2, "class");
  c.Expect(IsClass(klass), "class " + klass);
  ++s.classes[klass];
  for (std::size_t k = 0; k < 3; ++k) c.Expect(IsClass(c.Text(160 + 2 * k, 2, "old class")), "old class");
  const int age = c.Num(49, 2, "age");
  c.Expect(AgeOf(c.Text(41, 7, "birth")) == age, "age does not match the birth date");
  c.Expect(age >= 17 && age <= 75, "age out of range");
  const int sex = c.Num(48, 1, "sex");
  c.Expect(sex == 1 || sex == 2, "sex code");
  if (sex == 2) ++s.women;
  const int height = c.Num(51, 3, "height"), weight = c.Num(54, 2, "weight");
  c.Expect(height >= 145 && height <= 185 && weight >= 45 && weight <= 60, "height or weight");
  const std::string blood = c.Text(56, 2, "blood");
  c.Expect(blood == "A " || blood == "B " || blood == "O " || blood == "AB", "blood type");
  for (std::size_t off : {166u, 170u}) {
    const int index = c.Num(off, 4, "ability");
    c.Expect(index >= 2000 && index <= 8000, "ability index out of range");
  }
  c.Expect(c.Text(174, 4, "Nen") == "2025" && c.Text(178, 1, "Ki") == "2" && c.Text(179, 8, "YmdStart") == "20250501" &&
               c.Text(187, 8, "YmdEnd") == "20251031",
           "period fields");
  const std::string birthplace = c.Text(410, 6, "birthplace");
  c.Expect(birthplace.size() == 9 && birthplace.find(' ') == std::string::npos, "birthplace is not three characters");
}

void CheckResults(cRecordCheck& c, Summary& s, const std::string& klass) {
  int courseStarts = 0, firsts = 0, seconds = 0, points = 0, counted = 0;
  constexpr std::array<int, 6> kPoints{10, 8, 6, 4, 2, 1};
  for (int course = 0; course < 6; ++course) {
    const Course k = ReadCourse(c, course);
    CheckCourse(c, k, course);
    courseStarts += k.starts;
    firsts += k.places[0];
    seconds += k.places[1];
    for (std::size_t p = 0; p < 6; ++p) points += kPoints[p] * k.places[p];
    counted += k.f0 + k.l0 + k.l1 + k.k0 + k.k1 + k.s0 + k.s1 + k.s2;
  }
  const int outL0 = c.Num(402, 2, "outside L0"), outL1 = c.Num(404, 2, "outside L1");
  const int outK0 = c.Num(406, 2, "outside K0"), outK1 = c.Num(408, 2, "outside K1");
  const int starts = c.Num(72, 3, "starts");
  c.Expect(starts == courseStarts + outL1 + outK1, "starts differ from the course starts");
  c.Expect(c.Num(66, 3, "firsts") == firsts && c.Num(69, 3, "seconds") == seconds, "first or second total");
  c.Expect(c.Num(62, 4, "top-two rate") == RoundedRatio(1000 * (firsts + seconds), starts), "top-two rate");
  const int winRate = c.Num(58, 4, "win rate");
  c.Expect(winRate == RoundedRatio(100 * points, starts), "win rate differs from the places");
  const int finals = c.Num(75, 2, "finals"), titles = c.Num(77, 2, "titles");
  c.Expect(titles <= finals && finals <= 12, "titles and finals");
  const int timing = c.Num(79, 3, "start timing");
  if (starts == 0) {
    ++s.zeroStarts;
    c.Expect(counted + outL0 + outK0 + winRate + timing + finals == 0, "a racer without starts has figures");
  } else {
    c.Expect(timing >= 1 && timing <= 40, "start timing");
    auto& [sum, n] = s.winRate[klass];
    sum += winRate;
    ++n;
  }
}

void CheckOrder(cRecordCheck& c, std::string_view record, Previous& prev, bool blocks, Summary& s) {
  const std::string number(record.substr(0, 4));
  c.Num(0, 4, "racer number");
  c.Expect(number >= "1000", "racer number below 1000");
  const int term = c.Num(195, 3, "training term");
  const bool newBlock = prev.number.empty() || (blocks && number < prev.number);
  if (newBlock) {
    ++s.blocks;
  } else {
    c.Expect(number > prev.number, "racer number " + number + " not above " + prev.number);
    c.Expect(term >= prev.term, "training term falls");
  }
  prev = {number, term};
}

void CheckFileShape(const Summary& s, int expected, std::vector<std::string>& faults) {
  auto expect = [&faults](bool ok, const std::string& what) {
    if (!ok) faults.push_back("file: " + what);
  };
  if (expected >= 0) expect(s.records == expected, "holds " + std::to_string(s.records) + " records");
  if (s.records >= 8) expect(s.backslashNames >= 1, "no kanji name with a 0x5C byte");
  if (s.records < 1000) return;
  auto share = [&s](int n) { return 100.0 * n / s.records; };
  expect(s.zeroStarts >= 1 && share(s.zeroStarts) <= 4, "racers without starts");
  expect(share(s.women) >= 5 && share(s.women) <= 15, "share of women");
  const std::map<std::string, int> target{{"A1", 20}, {"A2", 20}, {"B1", 50}, {"B2", 10}};
  for (const auto& [klass, percent] : target) {
    const double got = share(s.classes.count(klass) ? s.classes.at(klass) : 0);
    expect(got >= percent - 5 && got <= percent + 5, "share of class " + klass);
  }
}

void PrintSummary(const Summary& s) {
  std::cout << s.records << " records in " << s.blocks << " ascending block(s); " << s.zeroStarts
            << " without starts; " << s.women << " women; " << s.backslashNames << " kanji names with 0x5C\n";
  for (const auto& [klass, n] : s.classes) {
    const auto it = s.winRate.find(klass);
    const double mean = it == s.winRate.end() ? 0.0 : it->second.first / 100.0 / it->second.second;
    std::cout << "  " << klass << ": " << n << " racers, mean win rate " << mean << "\n";
  }
}

}  // namespace

int main(int argc, char** argv) {
  bool blocks = false;
  int expected = -1;
  std::string path;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--blocks") == 0) blocks = true;
    else if (std::strcmp(argv[i], "--expect") == 0 && i + 1 < argc) expected = std::atoi(argv[++i]);
    else path = argv[i];
  }
  std::ifstream in(path, std::ios::binary);
  if (path.empty() || !in) {
    std::cerr << "usage: check_sample [--blocks] [--expect N] FILE\n";
    return 2;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> faults;
  Summary summary;
  Previous prev;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", start);
    const std::string_view record =
        std::string_view(bytes).substr(start, end == std::string::npos ? std::string::npos : end - start);
    cRecordCheck c(record, ++summary.records, faults);
    c.Expect(end != std::string::npos, "no CR LF at the end");
    c.Expect(record.size() == kRecordBytes && record.find_first_of("\r\n") == std::string_view::npos,
             "record is " + std::to_string(record.size()) + " bytes");
    if (record.size() == kRecordBytes) {
      CheckOrder(c, record, prev, blocks, summary);
      CheckProfile(c, record, summary);
      CheckResults(c, summary, std::string(record.substr(39, 2)));
    }
    if (end == std::string::npos) break;
    start = end + 2;
  }
  CheckFileShape(summary, expected, faults);
  PrintSummary(summary);
  for (std::size_t i = 0; i < faults.size() && i < 30; ++i) std::cerr << faults[i] << "\n";
  if (!faults.empty()) std::cerr << faults.size() << " fault(s)\n";
  return faults.empty() ? 0 : 1;
}
