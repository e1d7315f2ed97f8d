#pragma once
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

// A page is built as UTF-8 text in memory and written once, in code page 932.
class cPageText {
 public:
  cPageText& operator<<(std::string_view piece) {
    m_Text.append(piece);
    return *this;
  }
  /// Ends the current line with CR LF.
  void EndLine() { m_Text.append("\r\n"); }
  const std::string& Utf8() const { return m_Text; }

 private:
  std::string m_Text;
};

/// A file or folder of the site that could not be read, created or written.
class cFileFailure : public std::runtime_error {
 public:
  cFileFailure(std::filesystem::path file, int err);
  const std::filesystem::path& File() const { return m_File; }
  int Errno() const { return m_Errno; }

 private:
  std::filesystem::path m_File;
  int m_Errno;
};

/// Writes the page in code page 932, replacing an existing file; throws cFileFailure.
void SavePage(const std::filesystem::path& file, std::string_view utf8);
/// Creates one folder level if it is missing; throws cFileFailure.
void CreateFolder(const std::filesystem::path& folder);
