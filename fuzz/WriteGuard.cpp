#include "WriteGuard.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

bool g_Armed = false;
std::vector<std::filesystem::path> g_Written;

void Record(const char* path) {
  if (g_Armed && path != nullptr) g_Written.emplace_back(path);
}

bool OpensForWriting(int flags) {
  return (flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC | O_APPEND)) != 0;
}

bool FopensForWriting(const char* mode) {
  return mode != nullptr && std::strpbrk(mode, "wa+") != nullptr;
}

// open() takes its mode only when it may create the file.
mode_t ModeArgument(int flags, va_list args) {
  return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE ? static_cast<mode_t>(va_arg(args, int))
                                                                     : 0;
}

}  // namespace

extern "C" {
int __real_open(const char* path, int flags, ...);
int __real_open64(const char* path, int flags, ...);
int __real_creat(const char* path, mode_t mode);
int __real_mkdir(const char* path, mode_t mode);
std::FILE* __real_fopen(const char* path, const char* mode);
std::FILE* __real_fopen64(const char* path, const char* mode);

int __wrap_open(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = ModeArgument(flags, args);
  va_end(args);
  if (OpensForWriting(flags)) Record(path);
  return __real_open(path, flags, mode);
}

int __wrap_open64(const char* path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  const mode_t mode = ModeArgument(flags, args);
  va_end(args);
  if (OpensForWriting(flags)) Record(path);
  return __real_open64(path, flags, mode);
}

int __wrap_creat(const char* path, mode_t mode) {
  Record(path);
  return __real_creat(path, mode);
}

int __wrap_mkdir(const char* path, mode_t mode) {
  Record(path);
  return __real_mkdir(path, mode);
}

std::FILE* __wrap_fopen(const char* path, const char* mode) {
  if (FopensForWriting(mode)) Record(path);
  return __real_fopen(path, mode);
}

std::FILE* __wrap_fopen64(const char* path, const char* mode) {
  if (FopensForWriting(mode)) Record(path);
  return __real_fopen64(path, mode);
}
}

void ArmWriteGuard() {
  g_Written.clear();
  g_Armed = true;
}

std::vector<std::filesystem::path> DisarmWriteGuard() {
  g_Armed = false;
  return std::move(g_Written);
}
