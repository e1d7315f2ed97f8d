#include "samples/SampleRacer.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "samples/SampleNames.h"

namespace {

enum ClassIndex { kA1, kA2, kB1, kB2 };
constexpr std::array<std::string_view, 4> kClassText{"A1", "A2", "B1", "B2"};

struct ClassProfile {
  int skillLo, skillHi;   // 0..100, what the place draws use
  int startsLo, startsHi; // starts in a half-year
  int finalsHi;           // final appearances at most
  int titlePerMille;      // chance that a final is won
  int timingLo, timingHi; // usual start timing, hundredths
};
constexpr std::array<ClassProfile, 4> kProfiles{{
    {70, 95, 100, 140, 8, 250, 12, 16},
    {52, 72, 90, 130, 4, 120, 13, 17},
    {20, 50, 75, 125, 2, 60, 14, 19},
    {0, 30, 25, 80, 0, 0, 16, 22},
}};

// The inside boat turns first at the first mark, so course 1 wins most.
constexpr std::array<int, 6> kCourseEdge{45, 15, 5, -5, -20, -30};
constexpr std::array<int, 6> kCourseShare{18, 18, 17, 17, 16, 14};
constexpr std::array<int, 6> kStartOrderBase{180, 240, 290, 330, 360, 390};
constexpr std::array<int, 6> kPlacePoints{10, 8, 6, 4, 2, 1};

// Racers of the last three terms are still in their first periods: class B2.
constexpr int kNewcomerPeriods = 3;

int RoundedRatio(int numerator, int denominator) {
  return denominator == 0 ? 0 : (2 * numerator + denominator) / (2 * denominator);
}

template <class T>
const T& PickOne(std::span<const T> list, cSampleRandom& rng) {
  return list[static_cast<std::size_t>(rng.Between(0, static_cast<int>(list.size()) - 1))];
}

void DrawName(SampleRacer& r, cSampleRandom& rng) {
  const SampleName& family = PickOne(FamilyNames(), rng);
  const SampleName& given = PickOne(r.sex == 2 ? FemaleNames() : MaleNames(), rng);
  r.family = family.kanji;
  r.familyKana = family.kana;
  r.given = given.kanji;
  r.givenKana = given.kana;
}

// "静岡" becomes "静　岡": two-character places fill the six bytes around a full-width space.
std::string BirthplaceOfBranch(std::string_view branch) {
  const std::size_t half = branch.size() / 2;
  return std::string(branch.substr(0, half)) + "　" + std::string(branch.substr(half));
}

void DrawOrigin(SampleRacer& r, cSampleRandom& rng) {
  r.branch = PickOne(Branches(), rng);
  // Most racers join the branch of their home; some move or grew up elsewhere.
  r.birthplace = rng.Chance(750) ? BirthplaceOfBranch(r.branch) : std::string(PickOne(Prefectures(), rng));
}

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int year, int month) {
  constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

std::string TwoDigits(int v) { return {static_cast<char>('0' + v / 10), static_cast<char>('0' + v % 10)}; }

// Showa ran to 7 January 1989, Heisei from the 8th.
std::string EraDate(int year, int month, int day) {
  const bool showa = year < 1989 || (year == 1989 && month == 1 && day < 8);
  std::string date(1, showa ? 'S' : 'H');
  date += TwoDigits(showa ? year - 1925 : year - 1988);
  date += TwoDigits(month);
  date += TwoDigits(day);
  return date;
}

void DrawBirth(SampleRacer& r, cSampleRandom& rng) {
  // Two terms graduate each year; the newest term graduated in the period's year.
  const int debutYear = kSampleAgeYear - (kSampleLastTerm - r.trainingTerm + 1) / 2;
  // One draw per statement: the order of operands in an expression is up to the compiler.
  int debutAge = rng.Between(19, 23);
  if (rng.Chance(150)) debutAge += rng.Between(1, 6);
  const int year = debutYear - debutAge;
  const int month = rng.Between(1, 12);
  const int day = rng.Between(1, DaysInMonth(year, month));
  r.birth = EraDate(year, month, day);
  const bool birthdayToCome = month > kSampleAgeMonth || (month == kSampleAgeMonth && day > kSampleAgeDay);
  r.age = kSampleAgeYear - year - (birthdayToCome ? 1 : 0);
}

void DrawBody(SampleRacer& r, cSampleRandom& rng) {
  // The rules set a minimum weight: 52 kg for men, 47 kg for women.
  r.height = r.sex == 2 ? rng.Between(150, 166) : rng.Between(158, 176);
  r.weight = r.sex == 2 ? rng.Between(47, 52) : rng.Between(52, 58);
  constexpr std::array<std::string_view, 4> kBlood{"A ", "B ", "O ", "AB"};
  r.blood = kBlood[static_cast<std::size_t>(rng.Pick({38, 22, 30, 10}))];
}

int ShiftedClass(int klass, cSampleRandom& rng) {
  if (!rng.Chance(300)) return klass;
  return std::clamp(klass + (rng.Chance(500) ? 1 : -1), static_cast<int>(kA1), static_cast<int>(kB2));
}

// Earlier classes drift one step at a time from the class the racer's results
// earn; a sidelined racer held that class last period. Before the debut a
// racer counts as B2.
void DrawClassHistory(SampleRacer& r, int earnedClass, bool sidelined, int periodsSinceDebut,
                      cSampleRandom& rng) {
  int klass = earnedClass;
  for (int k = 0; k < 3; ++k) {
    if (k > 0 || !sidelined) klass = ShiftedClass(klass, rng);
    const int shown = k + 1 > periodsSinceDebut ? kB2 : klass;
    r.classOld[static_cast<std::size_t>(k)] = kClassText[static_cast<std::size_t>(shown)];
  }
}

int DrawPlace(int course, int skill, cSampleRandom& rng) {
  // Each place is q/1000 as likely as the one above it; a strong boat has a small q.
  const int strength = skill - 50 + kCourseEdge[static_cast<std::size_t>(course)];
  const std::int64_t q = std::clamp(1000 - 10 * strength, 250, 1700);
  std::array<std::int64_t, 6> weights{1'000'000};
  for (std::size_t p = 1; p < weights.size(); ++p) weights[p] = weights[p - 1] * q / 1000;
  return rng.Pick(weights);
}

void DrawStart(SampleCourse& c, int course, int skill, cSampleRandom& rng) {
  const int draw = rng.Between(0, 999);
  if (draw < 3) ++c.f0;
  else if (draw < 4) ++c.l1;
  else if (draw < 6) ++c.k0;
  else if (draw < 8) ++c.k1;
  else if (draw < 12) ++c.s1;
  else if (draw < 13) ++c.s2;
  else ++c.places[static_cast<std::size_t>(DrawPlace(course, skill, rng))];
  ++c.starts;
}

std::array<int, 6> DrawCourseShares(cSampleRandom& rng) {
  std::array<int, 6> share = kCourseShare;
  for (int& s : share) s += rng.Between(-6, 6);
  if (rng.Chance(50)) {  // a racer who fights for the inside
    share[0] += 40;
    share[1] += 10;
  }
  return share;
}

// S0 and L0 results still finish the race: they sit inside the sixth places.
void MarkFinishedWithPenalty(SampleCourse& c, cSampleRandom& rng) {
  if (c.places[5] >= 1 && rng.Chance(30)) c.s0 = 1;
  if (c.places[5] - c.s0 >= 1 && rng.Chance(5)) c.l0 = 1;
}

void DrawCourseTimings(SampleCourse& c, int course, int racerTiming, cSampleRandom& rng) {
  if (c.starts == 0) return;
  c.topTwoPerMille = RoundedRatio(1000 * (c.places[0] + c.places[1]), c.starts);
  c.startTiming = std::clamp(racerTiming + rng.Between(-2, 2), 8, 30);
  c.startOrder = std::clamp(kStartOrderBase[static_cast<std::size_t>(course)] + (racerTiming - 16) * 10 +
                                rng.Between(-40, 40),
                            100, 600);
}

void SumUpCourses(SampleRacer& r) {
  int points = 0, timingSum = 0, courseStarts = 0;
  for (const SampleCourse& c : r.courses) {
    r.firsts += c.places[0];
    r.seconds += c.places[1];
    for (std::size_t p = 0; p < 6; ++p) points += kPlacePoints[p] * c.places[p];
    timingSum += c.startTiming * c.starts;
    courseStarts += c.starts;
  }
  r.starts = courseStarts + r.outsideL1 + r.outsideK1;
  r.winRate = RoundedRatio(100 * points, r.starts);
  r.topTwoPerMille = RoundedRatio(1000 * (r.firsts + r.seconds), r.starts);
  r.startTiming = RoundedRatio(timingSum, courseStarts);
}

void DrawResults(SampleRacer& r, const ClassProfile& profile, int skill, cSampleRandom& rng) {
  const int total = rng.Between(profile.startsLo, profile.startsHi);
  r.outsideL1 = rng.Chance(10) ? 1 : 0;
  r.outsideK1 = rng.Chance(20) ? 1 : 0;
  r.outsideL0 = rng.Chance(5) ? 1 : 0;
  r.outsideK0 = rng.Chance(15) ? 1 : 0;
  const std::array<int, 6> share = DrawCourseShares(rng);
  for (int s = r.outsideL1 + r.outsideK1; s < total; ++s) {
    const int course = rng.Pick(share);
    DrawStart(r.courses[static_cast<std::size_t>(course)], course, skill, rng);
  }
  const int racerTiming = rng.Between(profile.timingLo, profile.timingHi);
  for (int course = 0; course < 6; ++course) {
    SampleCourse& c = r.courses[static_cast<std::size_t>(course)];
    MarkFinishedWithPenalty(c, rng);
    DrawCourseTimings(c, course, racerTiming, rng);
  }
  SumUpCourses(r);
  r.finals = profile.finalsHi == 0 ? 0 : rng.Between(r.klass == "A1" ? 1 : 0, profile.finalsHi);
  for (int f = 0; f < r.finals; ++f) r.titles += rng.Chance(profile.titlePerMille) ? 1 : 0;
}

void DrawAbility(SampleRacer& r, int skill, cSampleRandom& rng) {
  r.ability = 2800 + 45 * skill + rng.Between(-200, 200);
  r.abilityOld = std::clamp(r.ability + rng.Between(-300, 300), 2000, 8000);
}

}  // namespace

SampleRacer DrawRacer(int number, int trainingTerm, cSampleRandom& rng) {
  SampleRacer r;
  r.number = number;
  r.trainingTerm = trainingTerm;
  r.sex = rng.Chance(100) ? 2 : 1;
  DrawName(r, rng);
  DrawOrigin(r, rng);
  DrawBirth(r, rng);
  DrawBody(r, rng);

  const int periodsSinceDebut = kSampleLastTerm - trainingTerm;
  const bool newcomer = periodsSinceDebut < kNewcomerPeriods;
  const int earned = newcomer ? kB2 : rng.Pick({21, 21, 54, 4});
  // A racer out injured all period has no starts and drops to B2.
  const bool sidelined = !newcomer && rng.Chance(20);
  r.klass = kClassText[static_cast<std::size_t>(sidelined ? kB2 : earned)];
  DrawClassHistory(r, earned, sidelined, periodsSinceDebut, rng);

  const ClassProfile& profile = kProfiles[static_cast<std::size_t>(earned)];
  const int skill = rng.Between(profile.skillLo, profile.skillHi);
  if (!sidelined) DrawResults(r, profile, skill, rng);
  DrawAbility(r, skill, rng);
  return r;
}

void GiveBackslashName(SampleRacer& racer) {
  racer.family = "能登";
  racer.familyKana = "ﾉﾄ";
  racer.given = racer.sex == 2 ? "圭子" : "圭介";
  racer.givenKana = racer.sex == 2 ? "ｹｲｺ" : "ｹｲｽｹ";
}
