#pragma once
#include <algorithm>
#include <array>
#include <cassert>
#include <charconv>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "report/PageText.h"

/// A piece of the program's own markup. It is ASCII, the same bytes in UTF-8
/// and code page 932: a piece that is not fails the build.
class cAscii {
 public:
  template <std::size_t N>
  consteval cAscii(const char (&text)[N]) : m_Text(text, N - 1) {
    for (char c : m_Text) {
      if (static_cast<unsigned char>(c) >= 0x80) throw "markup pieces are ASCII";
    }
  }
  std::string_view Text() const { return m_Text; }

 private:
  std::string_view m_Text;
};

/// A short piece of a page, encoded once for the run: up to 32 bytes of code
/// page 932, which cMarkupRun copies as one block of 32 (cheaper than a copy of
/// their length) and then counts only the piece's own.
class cShortPiece {
 public:
  explicit cShortPiece(std::string_view utf8) {
    const std::string bytes = Utf8ToCp932(utf8);
    assert(bytes.size() <= m_Bytes.size());
    m_Size = std::min(bytes.size(), m_Bytes.size());
    std::memcpy(m_Bytes.data(), bytes.data(), m_Size);
  }
  const char* Block() const { return m_Bytes.data(); }
  std::size_t Size() const { return m_Size; }

 private:
  std::array<char, 32> m_Bytes{};
  std::size_t m_Size = 0;
};

/// A run of markup made of the program's own pieces (ASCII, or encoded once)
/// and numbers, gathered on the stack and handed to the page a few kilobytes
/// at a time: a chart is hundreds of pieces, each too small to be worth an
/// append of its own.
class cMarkupRun {
 public:
  /// Room Reserve always gives: enough for any number a page prints.
  static constexpr std::size_t kNumberRoom = 24;

  explicit cMarkupRun(cPageText& page) : m_Page(page) {}
  cMarkupRun(const cMarkupRun&) = delete;
  cMarkupRun& operator=(const cMarkupRun&) = delete;

  cMarkupRun& operator<<(cAscii piece) { return Put(piece.Text()); }
  cMarkupRun& operator<<(const cEncodedText& piece) { return Put(piece.Bytes()); }
  cMarkupRun& operator<<(const cShortPiece& piece) {
    if (kRoom - m_Size < 32) Flush();
    std::memcpy(m_Text + m_Size, piece.Block(), 32);
    m_Size += piece.Size();
    return *this;
  }
  /// A whole number in plain digits: "170", "-5".
  cMarkupRun& operator<<(int value) {
    Commit(std::to_chars(Reserve(), m_Text + kRoom, value).ptr);
    return *this;
  }
  /// A figure as the number formats print it: ASCII by making.
  cMarkupRun& Figure(std::string_view figure) {
    assert(IsAscii(figure));
    return Put(figure);
  }
  /// Ends the current line with CR LF.
  void EndLine() { Put("\r\n"); }
  /// kNumberRoom bytes to write a number into; Commit takes its end.
  char* Reserve() {
    if (kRoom - m_Size < kNumberRoom) Flush();
    return m_Text + m_Size;
  }
  void Commit(char* end) { m_Size = static_cast<std::size_t>(end - m_Text); }
  /// Hands everything gathered to the page; call it before the page goes on.
  void Flush() {
    m_Page << Cp932Bytes{std::string_view(m_Text, m_Size)};
    m_Size = 0;
  }

 private:
  static constexpr std::size_t kRoom = 4096;

  cMarkupRun& Put(std::string_view text) {
    if (text.size() > kRoom - m_Size) {
      Flush();
      if (text.size() > kRoom) {
        m_Page << Cp932Bytes{text};
        return *this;
      }
    }
    std::memcpy(m_Text + m_Size, text.data(), text.size());
    m_Size += text.size();
    return *this;
  }

  cPageText& m_Page;
  std::size_t m_Size = 0;
  char m_Text[kRoom];
};
