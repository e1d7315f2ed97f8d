#include "platform/FileRead.h"

#include "platform/ErrorText.h"
#include "platform/FileSystem.h"
#include "platform/SiteFolder.h"

cReadFailure::cReadFailure(int number) : std::runtime_error(ErrorText(number)), m_Number(number) {}

bool IsPlainFile(const std::filesystem::path& file) {
  try {
    return SystemFileSystem().LookThrough(file).kind == eEntryKind::File;
  } catch (const cFileFailure&) {
    return false;  // what cannot be looked at cannot be read either
  }
}

std::optional<std::uintmax_t> FileSize(const std::filesystem::path& file) {
  try {
    const cEntry entry = SystemFileSystem().LookThrough(file);
    if (entry.kind == eEntryKind::File) return entry.size;
  } catch (const cFileFailure&) {
  }
  return std::nullopt;
}
