#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "sensyu/FanArchive.h"

// Hostile bytes as a fan archive: liblhasa parses the headers and decodes
// the member; our code must fail cleanly, within the cap.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  constexpr std::size_t kCap = std::size_t{64} << 20;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const bool looksLzh = IsLzhArchive(bytes);
  const cArchiveMember member = ExtractFanMember(bytes, kCap);
  FuzzCheck(looksLzh || member.failure == eArchiveFailure::Damaged, "a non-archive not refused");
  if (member.failure == eArchiveFailure::None) {
    FuzzCheck(member.bytes.size() <= kCap, "member beyond the cap");
  } else {
    FuzzCheck(member.bytes.empty(), "a failure with member bytes");
  }
  return 0;
}
