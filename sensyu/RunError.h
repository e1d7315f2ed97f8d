#pragma once
#include <stdexcept>
#include <string>

// A failure that reaches the user as "description" CR LF "(Error code:N)".
// The numbers follow the long-standing convention our users know from the
// Windows tools: 13 for a value that is not a number, 6 for an overflow.
class cRunError : public std::runtime_error {
 public:
  cRunError(int number, const std::string& description)
      : std::runtime_error(description), m_Number(number) {}
  int Number() const { return m_Number; }

  static cRunError TypeMismatch() { return {13, "型が一致しません。"}; }
  static cRunError Overflow() { return {6, "オーバーフローしました。"}; }

 private:
  int m_Number;
};

/// The text of a failure box: the text, CR LF, then "(Error code:N)".
inline std::string WithErrorCode(const std::string& text, int number) {
  return text + "\r\n(Error code:" + std::to_string(number) + ")";
}
