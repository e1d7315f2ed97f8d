#include "sensyu/Cp932.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

constexpr UChar kGeta = 0x3013;  // 〓

// Any byte sequence the converter cannot read becomes one geta mark.
void ToGeta(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
            UConverterCallbackReason reason, UErrorCode* err) {
  if (reason > UCNV_IRREGULAR) return;  // reset, close, clone: nothing to write
  *err = U_ZERO_ERROR;
  ucnv_cbToUWriteUChars(args, &kGeta, 1, 0, err);
}

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

ConverterPtr OpenCp932() {
  UErrorCode err = U_ZERO_ERROR;
  ConverterPtr cnv(ucnv_open("windows-31j", &err));
  if (U_FAILURE(err)) throw std::runtime_error("code page 932 converter is not available");
  ucnv_setToUCallBack(cnv.get(), ToGeta, nullptr, nullptr, nullptr, &err);
  ucnv_setSubstString(cnv.get(), &kGeta, 1, &err);
  if (U_FAILURE(err)) throw std::runtime_error("code page 932 converter cannot be set up");
  return cnv;
}

// Opening a converter costs far more than converting one field, and the loader
// converts hundreds of thousands of fields: keep one per thread.
UConverter* Cp932() {
  thread_local ConverterPtr cnv = OpenCp932();
  ucnv_reset(cnv.get());
  return cnv.get();
}

bool IsAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::u16string Utf16FromUtf8(std::string_view utf8) {
  std::u16string out(utf8.size(), u'\0');
  int32_t len = 0;
  UErrorCode err = U_ZERO_ERROR;
  u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &len, utf8.data(),
                       static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr, &err);
  out.resize(U_SUCCESS(err) ? static_cast<std::size_t>(len) : 0);
  return out;
}

std::string Utf8FromUtf16(std::u16string_view u16) {
  std::string out(u16.size() * 3, '\0');
  int32_t len = 0;
  UErrorCode err = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &len, u16.data(),
                     static_cast<int32_t>(u16.size()), 0xFFFD, nullptr, &err);
  out.resize(U_SUCCESS(err) ? static_cast<std::size_t>(len) : 0);
  return out;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view bytes) {
  if (IsAscii(bytes)) return std::string(bytes);
  // Every code page 932 byte yields at most one UTF-16 unit.
  std::u16string u16(bytes.size() + 1, u'\0');
  UErrorCode err = U_ZERO_ERROR;
  int32_t len = ucnv_toUChars(Cp932(), u16.data(), static_cast<int32_t>(u16.size()), bytes.data(),
                              static_cast<int32_t>(bytes.size()), &err);
  if (U_FAILURE(err)) return std::string();
  u16.resize(static_cast<std::size_t>(len));
  return Utf8FromUtf16(u16);
}

std::string Utf8ToCp932(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  std::u16string u16 = Utf16FromUtf8(utf8);
  std::string out(u16.size() * 2 + 1, '\0');
  UErrorCode err = U_ZERO_ERROR;
  int32_t len = ucnv_fromUChars(Cp932(), out.data(), static_cast<int32_t>(out.size()), u16.data(),
                                static_cast<int32_t>(u16.size()), &err);
  if (U_FAILURE(err)) return std::string();
  out.resize(static_cast<std::size_t>(len));
  return out;
}

std::string_view FirstChars(std::string_view utf8, std::size_t count) {
  std::size_t pos = 0;
  for (std::size_t n = 0; n < count && pos < utf8.size(); ++n) {
    ++pos;
    while (pos < utf8.size() && (static_cast<unsigned char>(utf8[pos]) & 0xC0) == 0x80) ++pos;
  }
  return utf8.substr(0, pos);
}
