#include "sensyu/FanInput.h"

#include "platform/FileRead.h"
#include "sensyu/Cp932.h"
#include "sensyu/FanArchive.h"
#include "sensyu/FanLines.h"

namespace {

constexpr std::size_t kShortestRecord = 403;

bool StartsWithFourDigits(std::string_view line) {
  if (line.size() < 4) return false;
  for (char c : line.substr(0, 4)) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

cFanInput Refused(eFanInputFailure failure) {
  cFanInput input;
  input.failure = failure;
  return input;
}

cFanInput Unpacked(std::string_view archive) {
  cArchiveMember member = ExtractFanMember(archive, kMaxFanFileBytes);
  switch (member.failure) {
    case eArchiveFailure::None: break;
    case eArchiveFailure::NoFanMember: return Refused(eFanInputFailure::NoFanMember);
    case eArchiveFailure::TooLarge: return Refused(eFanInputFailure::TooLarge);
    case eArchiveFailure::Damaged: return Refused(eFanInputFailure::DamagedArchive);
  }
  cFanInput input;
  input.bytes = std::move(member.bytes);
  return input;
}

// A UTF-8 copy, as an editor saves it, read as the original.
cFanInput AsSaved(cFanInput input) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (input.bytes.starts_with(kByteOrderMark)) input.bytes.erase(0, kByteOrderMark.size());  // it hides the first racer
  if (!IsMultiByteUtf8(input.bytes)) return input;
  std::optional<std::string> cp932 = Utf8ToCp932Strict(input.bytes);
  // A UTF-8 line is never shorter than its code page 932 original: without a record here there is none.
  if (!cp932) {
    return Refused(HoldsRacerRecord(input.bytes) ? eFanInputFailure::BeyondCp932 : eFanInputFailure::NoRacerRecord);
  }
  input.bytes = std::move(*cp932);
  return input;
}

}  // namespace

bool HoldsRacerRecord(std::string_view bytes) {
  for (std::string_view line : SplitLines(bytes)) {
    if (line.size() >= kShortestRecord && StartsWithFourDigits(line)) return true;
  }
  return false;
}

cFanInput ReadFanInput(const std::filesystem::path& file) {
  // Told before reading, so a huge file costs neither time nor memory.
  if (FileSize(file).value_or(0) > kMaxFanFileBytes) return Refused(eFanInputFailure::TooLarge);
  cFanInput input;
  try {
    input.bytes = ReadWholeFile(file);
  } catch (const cReadFailure& e) {
    input.failure = eFanInputFailure::Unreadable;
    input.reason = e.what();
    input.errorNumber = e.Number();
    return input;
  }
  if (input.bytes.size() > kMaxFanFileBytes) return Refused(eFanInputFailure::TooLarge);  // it grew meanwhile
  if (IsLzhArchive(input.bytes)) input = Unpacked(input.bytes);
  if (input.failure == eFanInputFailure::None) input = AsSaved(std::move(input));
  if (input.failure == eFanInputFailure::None && !HoldsRacerRecord(input.bytes)) {
    return Refused(eFanInputFailure::NoRacerRecord);
  }
  return input;
}
