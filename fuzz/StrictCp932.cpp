#include "StrictCp932.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

#include <iterator>
#include <memory>

#include "FuzzCheck.h"

namespace {

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};

UConverter* StrictConverter() {
  static const std::unique_ptr<UConverter, ConverterCloser> cnv = [] {
    UErrorCode err = U_ZERO_ERROR;
    UConverter* c = ucnv_open("windows-31j", &err);
    ucnv_setToUCallBack(c, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
    FuzzCheck(U_SUCCESS(err), "ICU has no windows-31j converter");
    return std::unique_ptr<UConverter, ConverterCloser>(c);
  }();
  ucnv_reset(cnv.get());
  return cnv.get();
}

}  // namespace

bool IsStrictCp932(std::string_view bytes) {
  UConverter* cnv = StrictConverter();
  const char* source = bytes.data();
  const char* const end = source + bytes.size();
  UChar units[1024];
  UErrorCode err = U_ZERO_ERROR;
  // Decoded text is thrown away chunk by chunk; flushing at the end makes a
  // lead byte without its trail byte an error.
  do {
    err = U_ZERO_ERROR;
    UChar* target = units;
    ucnv_toUnicode(cnv, &target, units + std::size(units), &source, end, nullptr, true, &err);
  } while (err == U_BUFFER_OVERFLOW_ERROR);
  return U_SUCCESS(err);
}
