#pragma once
#include <string>
#include <string_view>
#include <utility>

#include "sensyu/Cp932.h"

// A page is built in memory in code page 932 and written once. Pieces come
// in as UTF-8 and are encoded as they are appended; pieces that every page
// repeats can be encoded once beforehand (cEncodedText).
class cEncodedText {
 public:
  explicit cEncodedText(std::string_view utf8) : m_Bytes(Utf8ToCp932(utf8)) {}
  std::string_view Bytes() const { return m_Bytes; }

 private:
  std::string m_Bytes;
};

/// Text taken from the fan file, written with & < > as entities so that a
/// crafted file cannot put markup into the pages.
struct Escaped {
  std::string_view text;
};

/// Text taken from the fan file for an attribute value in double quotes: as
/// Escaped, and " as &quot;.
struct Quoted {
  std::string_view text;
};

/// Text already in code page 932, as another cPageText made it.
struct Cp932Bytes {
  std::string_view bytes;
};

class cPageText {
 public:
  explicit cPageText(std::size_t room = 4096) { m_Bytes.reserve(room); }  // a racer page is about 3 KB
  cPageText& operator<<(std::string_view utf8) {
    // Most pieces are ASCII markup and figures, which are their own bytes.
    if (IsAscii(utf8)) {
      m_Bytes.append(utf8);
    } else {
      AppendCp932(m_Bytes, utf8);
    }
    return *this;
  }
  cPageText& operator<<(const cEncodedText& piece) {
    m_Bytes.append(piece.Bytes());
    return *this;
  }
  cPageText& operator<<(Cp932Bytes piece) {
    m_Bytes.append(piece.bytes);
    return *this;
  }
  cPageText& operator<<(Escaped piece);
  cPageText& operator<<(Quoted piece);
  /// Ends the current line with CR LF.
  void EndLine() { m_Bytes.append("\r\n"); }
  /// The page so far, in code page 932.
  const std::string& Bytes() const { return m_Bytes; }
  /// The page, moved out of the text, which is empty afterwards.
  std::string Take() { return std::move(m_Bytes); }

 private:
  cPageText& AppendEscaped(std::string_view text, bool quotes);
  std::string m_Bytes;
};
