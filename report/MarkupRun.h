#pragma once
#include <cassert>
#include <charconv>
#include <cstddef>
#include <cstring>
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
