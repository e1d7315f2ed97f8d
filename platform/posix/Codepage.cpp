#include "platform/Codepage.h"

#include <unicode/ucnv.h>

#include <memory>
#include <stdexcept>

// ICU's windows-31j table. Its single bytes 0x1A, 0x1C and 0x7F follow IBM's
// table, not Windows; the caller keeps ASCII bytes as they are.

namespace {

constexpr char16_t kGeta = u'\u3013';

struct cConverterClose {
  void operator()(UConverter* c) const { ucnv_close(c); }
};

UConverter* Cp932() {
  thread_local std::unique_ptr<UConverter, cConverterClose> cnv = [] {
    UErrorCode err = U_ZERO_ERROR;
    std::unique_ptr<UConverter, cConverterClose> c(ucnv_open("windows-31j", &err));
    if (U_FAILURE(err)) throw std::runtime_error("code page 932 converter is not available");
    ucnv_setToUCallBack(c.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
    ucnv_setFromUCallBack(c.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
    return c;
  }();
  ucnv_reset(cnv.get());
  return cnv.get();
}

}  // namespace

char16_t DecodeCp932Code(const char* bytes, int length) {
  char16_t out[4];
  UErrorCode err = U_ZERO_ERROR;
  const int32_t n = ucnv_toUChars(Cp932(), out, 4, bytes, length, &err);
  return (U_FAILURE(err) || n != 1) ? kGeta : out[0];
}

uint16_t EncodeCp932Code(char16_t c) {
  char out[4];
  UErrorCode err = U_ZERO_ERROR;
  const int32_t n = ucnv_fromUChars(Cp932(), out, 4, &c, 1, &err);
  if (U_FAILURE(err) || n < 1 || n > 2) return 0x81AC;
  const auto first = static_cast<unsigned char>(out[0]);
  return n == 1 ? first : static_cast<uint16_t>(first << 8 | static_cast<unsigned char>(out[1]));
}
