// Hostile and broken input through the real tobirex, as a script runs it:
// --no-gui --yes --no-open --output. Each case runs in a fresh folder that
// holds the input, a sibling "outside" folder with a sentinel file and a home
// folder; whatever the input, the program must end on its own with a clear
// message or a site, and leave everything but its output folder as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <set>

#include "LimitedRun.h"
#include "TreeSnapshot.h"
#include "samples/SampleWriter.h"
#include "sensyu/Cp932.h"
#include "support/RecordBuilder.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

// A hang is anything past this; the slowest case here takes about ten seconds.
constexpr std::chrono::seconds kTimeLimit{60};

const std::string kLoaderOverflowBox =
    "── (!) 選手ファイル読み取りエラー ──\nオーバーフローしました。\n(Error code:6)\n";
const std::string kRosterName = "ファン手帳.html";

enum class eEnd { Converted, Failed, NotFound, Refused };

int ExitStatusOf(eEnd end) {
  switch (end) {
    case eEnd::Converted: return 0;
    case eEnd::Failed:
    case eEnd::NotFound: return 1;
    case eEnd::Refused: return 2;
  }
  return -1;
}

// The fresh folder of one case and the run's paths in it.
struct cCase {
  cTempDir temp;
  fs::path root = temp.Path();
  fs::path input = root / "fan2510.txt";
  fs::path output = root / "site";
  fs::path outside = root / "outside";
  fs::path home = root / "home";
  bool withoutFileOverride = false;
  long fileSizeLimit = 0;

  fs::path Roster() const { return output / kRosterName; }
};

struct cHostileCase {
  const char* name;
  std::function<void(cCase&)> prepare;  // writes the input and whatever else the case needs
  eEnd end;
  std::function<std::string(const cCase&)> box;  // the message shown on failure, as the terminal prints it
  std::function<void(const cCase&)> check;       // what the written site must show
  bool atRacerLimit = false;                     // converts 32,766 racers: about a minute under the sanitizers
};

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& file, std::string_view bytes) {
  std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Record(const std::string& no, const std::string& nameKanji = "山田 太郎") {
  RecordBuilder r;
  r.SensyuNo(no).NameKanji(nameKanji).NameKana("ﾔﾏﾀﾞ ﾀﾛｳ").Class("B1").Nen(2025).Ki(2);
  r.YmdStart("20250501").YmdEnd("20251031").YoseiKi(95).SyussoTimes(120);
  return r.Bytes();
}

std::vector<fs::path> PagesUnder(const fs::path& folder) {
  std::vector<fs::path> pages;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file() && entry.path().extension() == ".html") pages.push_back(entry.path());
  return pages;
}

int CountRacerPages(const fs::path& site) {
  const auto pages = PagesUnder(site);
  return static_cast<int>(
      std::count_if(pages.begin(), pages.end(), [&](const fs::path& p) { return p.parent_path() != site; }));
}

std::string RosterText(const cCase& c) { return Cp932ToUtf8(ReadBytes(c.Roster())); }

void ExpectCaptionCount(const cCase& c, int count) {
  const std::string ending = "　 " + std::to_string(count) + " 名</CAPTION>";
  EXPECT_NE(RosterText(c).find(ending), std::string::npos) << "roster caption should end in " << ending;
}

void ExpectPages(const cCase& c, const std::vector<std::string>& relative) {
  for (const std::string& page : relative) EXPECT_TRUE(fs::is_regular_file(c.output / page)) << page;
  EXPECT_EQ(CountRacerPages(c.output), static_cast<int>(relative.size()));
}

bool ContainsIgnoringCase(std::string_view bytes, std::string_view piece) {
  return std::search(bytes.begin(), bytes.end(), piece.begin(), piece.end(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
         }) != bytes.end();
}

// Bytes with every value, NULs and line ends among them, the same on every machine.
std::string BinaryBytes(std::size_t size) {
  std::mt19937 bits(20251006);
  std::string bytes("\0\r\n\r\0\x81\xff", 7);
  while (bytes.size() < size) bytes += static_cast<char>(bits() & 0xFF);
  return bytes;
}

// Overwrites part of a record with raw bytes, past what the builder would accept.
std::string Patched(std::string record, std::size_t offset, std::string_view bytes) {
  record.replace(offset, bytes.size(), bytes);
  return record;
}

std::set<std::string> DistinctRacerNumbers(const fs::path& fanFile) {
  const std::string bytes = ReadBytes(fanFile);
  std::set<std::string> numbers;
  std::size_t at = 0;
  while (at + 4 <= bytes.size()) {
    numbers.insert(bytes.substr(at, 4));
    const std::size_t end = bytes.find("\r\n", at);
    if (end == std::string::npos) break;
    at = end + 2;
  }
  return numbers;
}

void WriteSample(const cCase& c, int count) { ASSERT_TRUE(WriteSampleFile(c.input.string(), count)); }

std::string RunFailureBox(const std::string& what, const fs::path& file, int err) {
  return "── (!) Harumado ──\n" + what + "\n" + file.string() + "\n" + std::strerror(err) +
         "\n(Error code:" + std::to_string(err) + ")\n";
}

std::vector<cHostileCase> HostileCases() {
  return {
      {"EmptyFile", [](cCase& c) { WriteBytes(c.input, ""); }, eEnd::Converted, nullptr,
       [](const cCase& c) {
         EXPECT_NE(RosterText(c).find("<CAPTION> 0 年期　 0 名</CAPTION>"), std::string::npos);
         EXPECT_TRUE(fs::is_regular_file(c.output / "索引.html"));
         ExpectPages(c, {});
       }},
      {"BinaryFile", [](cCase& c) { WriteBytes(c.input, BinaryBytes(64 * 1024)); }, eEnd::Converted, nullptr,
       [](const cCase& c) {
         ExpectCaptionCount(c, 0);
         ExpectPages(c, {});
       }},
      {"InvalidShiftJisInRecords",
       [](cCase& c) {
         WriteBytes(c.input,
                    FanFile({Patched(Record("4001"), 4, "\x81\x20\xff\xfe\x80\xa0\xfd\xfc"),  // not code page 932
                             Patched(Record("4002"), 34, "\x82"),          // a lead byte ends the kana name
                             Patched(Record("4003"), 49, "\x82\xa0"),      // a kana where the age goes
                             Patched(Record("4004"), 56, "\xef\xff\x81"),  // blood type and win rate
                             Patched(Record("4005"), 0, "\x81\x7f")}));    // the number itself: no racer
       },
       eEnd::Converted, nullptr,
       [](const cCase& c) {
         ExpectCaptionCount(c, 4);
         ExpectPages(c, {"4000/4001.html", "4000/4002.html", "4000/4003.html", "4000/4004.html"});
         for (const fs::path& page : PagesUnder(c.output)) {
           const std::string bytes = ReadBytes(page);
           EXPECT_EQ(Utf8ToCp932(Cp932ToUtf8(bytes)), bytes) << page << " holds bytes that are not code page 932";
         }
       }},
      {"TenMegabyteLineWithoutLineEnd",
       [](cCase& c) { WriteBytes(c.input, Record("4321") + std::string(10 * 1024 * 1024, 'x')); }, eEnd::Converted,
       nullptr,
       [](const cCase& c) {
         ExpectCaptionCount(c, 1);
         ExpectPages(c, {"4000/4321.html"});
       }},
      {"RacersAtTheLimitConvert", [](cCase& c) { WriteSample(c, 32766); }, eEnd::Converted, nullptr,
       [](const cCase& c) {
         ExpectCaptionCount(c, 32766);
         // Numbers repeat from block to block; a repeated number rewrites its one page.
         EXPECT_EQ(CountRacerPages(c.output), static_cast<int>(DistinctRacerNumbers(c.input).size()));
       },
       true},
      {"OneRacerPastTheLimitIsAnOverflow", [](cCase& c) { WriteSample(c, 32767); }, eEnd::Failed,
       [](const cCase&) { return kLoaderOverflowBox; }, nullptr},
      {"FortyThousandRacersAreAnOverflow", [](cCase& c) { WriteSample(c, 40000); }, eEnd::Failed,
       [](const cCase&) { return kLoaderOverflowBox; }, nullptr},
      {"RecordsCutShort",
       [](cCase& c) {
         // Inside the number, after it, inside a kanji of the name, after the
         // names, inside a number field, inside each course block, one byte short.
         const std::pair<const char*, std::size_t> cuts[] = {{"4000", 2},  {"4001", 4},   {"4002", 5},   {"4003", 39},
                                                             {"4004", 50}, {"4005", 100}, {"4006", 300}, {"4007", 409}};
         std::vector<std::string> records;
         for (const auto& [no, length] : cuts) records.push_back(Record(no).substr(0, length));
         WriteBytes(c.input, FanFile(records));
       },
       eEnd::Converted, nullptr,
       [](const cCase& c) {
         ExpectCaptionCount(c, 8);
         ExpectPages(c, {"0000/40.html", "4000/4001.html", "4000/4002.html", "4000/4003.html", "4000/4004.html",
                         "4000/4005.html", "4000/4006.html", "4000/4007.html"});
       }},
      {"InputIsAFolder", [](cCase& c) { fs::create_directory(c.input); }, eEnd::NotFound,
       [](const cCase& c) {
         return "── Harumado ──\nモーターボートファン手帳ファイルが見つかりません。\n\n" + c.input.string() + "\n";
       },
       nullptr},
      {"UnreadableFile",
       [](cCase& c) {
         WriteBytes(c.input, FanFile({Record("4321")}));
         fs::permissions(c.input, fs::perms::none);
         c.withoutFileOverride = true;
       },
       eEnd::Failed, [](const cCase& c) { return RunFailureBox("ファイルを読み込めません。", c.input, EACCES); },
       nullptr},
      {"OutputUnderAPlainFile",
       [](cCase& c) {
         WriteBytes(c.input, FanFile({Record("4321")}));
         WriteBytes(c.root / "notes", "a file, not a folder");
         c.output = c.root / "notes" / "site";
       },
       eEnd::Failed, [](const cCase& c) { return RunFailureBox("フォルダを作成できません。", c.output, ENOTDIR); },
       nullptr},
      {"OutputUnderAReadOnlyFolder",
       [](cCase& c) {
         WriteBytes(c.input, FanFile({Record("4321")}));
         fs::create_directory(c.root / "locked");
         fs::permissions(c.root / "locked", fs::perms::owner_read | fs::perms::owner_exec);
         c.output = c.root / "locked" / "site";
         c.withoutFileOverride = true;
       },
       eEnd::Failed, [](const cCase& c) { return RunFailureBox("フォルダを作成できません。", c.output, EACCES); },
       nullptr},
      {"PageWritesFailAsOnAFullDisk",
       [](cCase& c) {
         WriteBytes(c.input, FanFile({Record("4321"), Record("4322")}));
         c.fileSizeLimit = 1024;  // a racer page takes about three times that
       },
       eEnd::Failed,
       [](const cCase& c) {
         return RunFailureBox("ファイルを書き込めません。", c.output / "4000" / "4321.html", EFBIG);
       },
       nullptr},
      {"OutputIsALinkToSomeoneElsesFolder",
       [](cCase& c) {
         WriteBytes(c.input, FanFile({Record("4321")}));
         fs::create_directory_symlink(c.outside, c.output);
       },
       eEnd::Refused,
       [](const cCase& c) {
         return "── (!) Harumado ──\n出力先のフォルダーに、このプログラムが作ったページ以外のものがあります。\n"
                "フォルダーを消して作り直すことはせず、何も変更せずに終了します。\n"
                "新しいフォルダーか空のフォルダーを指定してください。\n\n出力先: " +
                c.output.string() + "\n見つかったもの: " + (c.output / "sentinel.txt").string() + "\n";
       },
       nullptr},
      {"OutputIsALinkToAnEarlierSite",
       [](cCase& c) {
         // The link is replaced by a folder of its own; the site it led to stays as it was.
         WriteBytes(c.input, FanFile({Record("4321")}));
         fs::remove(c.outside / "sentinel.txt");
         fs::create_directory(c.outside / "4000");
         for (const char* page : {"ファン手帳.html", "索引.html", "4000/4321.html"})
           WriteBytes(c.outside / page, "an earlier site's page");
         fs::create_directory_symlink(c.outside, c.output);
       },
       eEnd::Converted, nullptr,
       [](const cCase& c) {
         EXPECT_FALSE(fs::is_symlink(c.output));
         ExpectPages(c, {"4000/4321.html"});
       }},
      {"MarkupInNamesIsEscaped",
       [](cCase& c) {
         RecordBuilder r;
         r.SensyuNo("4322").NameKanji("<script>alert(1)").NameKana("<script>x").Birthplace("<b>").Class("<i");
         r.Blood("<u").Birth("<script").YmdStart("<script>").YmdEnd("20251031").YoseiKi(95);
         WriteBytes(c.input, FanFile({Record("4321", "<SCRIPT SRC=x>"), r.Bytes()}));
       },
       eEnd::Converted, nullptr,
       [](const cCase& c) {
         ExpectPages(c, {"4000/4321.html", "4000/4322.html"});
         // Shown as text, not dropped.
         for (const char* shown : {"&lt;script&gt;alert(1)", "&lt;SCRIPT SRC=x&gt;", "&lt;scr年"})
           EXPECT_NE(RosterText(c).find(shown), std::string::npos) << shown;
         const std::string racerPage = Cp932ToUtf8(ReadBytes(c.output / "4000" / "4322.html"));
         for (const char* shown : {"&lt;b&gt;", "&lt;i級", "&lt;u型", "&lt;sc年"})
           EXPECT_NE(racerPage.find(shown), std::string::npos) << shown;
       }},
      {"PathTricksInRacerNumbers",
       [](cCase& c) {
         // In ascending order; only the first four characters name a racer,
         // and only text that reads as a number does.
         const std::string record = Record("4321");
         WriteBytes(c.input, FanFile({Patched(record, 0, " 1.5"), Patched(record, 0, "-999"),
                                      Patched(record, 0, "../../outside/evil"), Patched(record, 0, "..\\..\\outside"),
                                      Patched(record, 0, (c.outside / "evil").string()), record}));
       },
       eEnd::Converted, nullptr,
       [](const cCase& c) {
         ExpectCaptionCount(c, 3);
         ExpectPages(c, {"0000/ 1.5.html", "0000/-999.html", "4000/4321.html"});
         for (const auto& entry : fs::recursive_directory_iterator(c.output)) {
           const std::string name = entry.path().filename().string();
           EXPECT_EQ(name.find(".."), std::string::npos) << entry.path();
           EXPECT_EQ(name.find('\\'), std::string::npos) << entry.path();
         }
       }},
  };
}

std::vector<std::string> ProgramEnv(const cCase& c) {
  std::vector<std::string> env = {"HOME=" + c.home.string(), "PATH=/usr/local/bin:/usr/bin:/bin", "LANG=C.UTF-8"};
  for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"})
    if (const char* value = std::getenv(name)) env.push_back(std::string(name) + "=" + value);
  return env;
}

// A failed or refused run may leave its output folder; everything else must stay.
std::string LeftToTheRun(const cCase& c, eEnd end) {
  if (end == eEnd::NotFound || end == eEnd::Refused) return "";
  return c.output.lexically_relative(c.root).generic_string();
}

// Lets the temp folder be removed whatever the case locked.
class cUnlockAtEnd {
 public:
  explicit cUnlockAtEnd(const fs::path& root) : m_Root(root) {}
  ~cUnlockAtEnd() {
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(m_Root, ec))
      if (!entry.is_symlink()) fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  cUnlockAtEnd(const cUnlockAtEnd&) = delete;
  cUnlockAtEnd& operator=(const cUnlockAtEnd&) = delete;

 private:
  fs::path m_Root;
};

int Count(const std::string& text, const std::string& piece) {
  int n = 0;
  for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
  return n;
}

void PrintTo(const cHostileCase& row, std::ostream* os) { *os << row.name; }

class HostileInput : public ::testing::TestWithParam<cHostileCase> {};

TEST_P(HostileInput, EndsCleanlyAndWritesOnlyItsOutputFolder) {
  const cHostileCase& row = GetParam();
#ifdef TOBIREX_HOSTILE_SANITIZED
  if (row.atRacerLimit)
    GTEST_SKIP() << "converting 32,766 racers takes about a minute under the sanitizers; the normal build runs it";
#endif
  cCase c;
  const cUnlockAtEnd unlock(c.root);
  fs::create_directory(c.outside);
  fs::create_directory(c.home);
  WriteBytes(c.outside / "sentinel.txt", "keep me");
  row.prepare(c);
  if (HasFatalFailure()) return;
  const std::string leftToTheRun = LeftToTheRun(c, row.end);
  const cTreeSnapshot before = TakeSnapshot(c.root, leftToTheRun);

  cLimitedRun run;
  run.args = {"--no-gui", "--yes", "--no-open", "--output", c.output.string(), c.input.string()};
  run.env = ProgramEnv(c);
  run.workDir = c.root;
  run.limit = kTimeLimit;
  run.withoutFileOverride = c.withoutFileOverride;
  run.fileSizeLimit = c.fileSizeLimit;
  const cRunOutcome result = RunLimited(TOBIREX_EXE, run);

  if (result.cannotDropOverride)
    GTEST_SKIP() << "running as root, and this system does not let the test take away root's power to read "
                    "and write past permission bits (CAP_DAC_OVERRIDE)";
  ASSERT_TRUE(result.started);
  ASSERT_FALSE(result.timedOut) << "hung: killed after " << kTimeLimit.count() << " s\n" << result.out;
  ASSERT_EQ(result.signal, 0) << "ended by signal " << strsignal(result.signal) << "\n" << result.err;
  EXPECT_EQ(result.exitStatus, ExitStatusOf(row.end)) << result.out << result.err;
  EXPECT_EQ(result.err, "");

  if (row.end == eEnd::Converted) {
    EXPECT_EQ(result.out.find("── "), std::string::npos) << "a message box in a good run:\n" << result.out;
    EXPECT_TRUE(result.out.ends_with("\nSite written: " + c.Roster().string() + "\n")) << result.out;
    ASSERT_TRUE(fs::is_regular_file(c.Roster()));
  } else {
    EXPECT_NE(result.out.find(row.box(c)), std::string::npos) << result.out;
    EXPECT_EQ(Count(result.out, "── "), 1) << result.out;
    EXPECT_EQ(result.out.find("Site written"), std::string::npos) << result.out;
    EXPECT_FALSE(fs::exists(c.Roster()));
  }

  for (const std::string& change : SnapshotChanges(before, TakeSnapshot(c.root, leftToTheRun)))
    ADD_FAILURE() << "outside the output folder: " << change;
  std::error_code ec;
  for (const auto& entry : fs::recursive_directory_iterator(c.output, ec)) {
    EXPECT_TRUE(entry.is_directory() || entry.is_regular_file()) << entry.path();
    if (entry.is_regular_file()) {
      EXPECT_FALSE(ContainsIgnoringCase(ReadBytes(entry.path()), "<script")) << "markup injected: " << entry.path();
    }
  }
  if (row.check) row.check(c);
}

INSTANTIATE_TEST_SUITE_P(Matrix, HostileInput, ::testing::ValuesIn(HostileCases()),
                         [](const ::testing::TestParamInfo<cHostileCase>& row) { return row.param.name; });

}  // namespace
