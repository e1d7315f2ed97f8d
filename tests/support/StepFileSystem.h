#pragma once
#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include "platform/FileSystem.h"
#include "platform/SiteFolder.h"

/// Thrown by every call once the program "died".
struct cCrash : std::runtime_error {
  cCrash() : std::runtime_error("crashed") {}
};

// The computer's file system, with a fault at one step: the step fails, or
// every step from it on fails, or the program dies right after it (the step
// is done, and nothing after it is). Steps are counted over every call.
class cStepFileSystem : public cFileSystem {
 public:
  enum class eFault { FailOnce, FailFromThenOn, CrashAfter };
  cStepFileSystem(int step, eFault fault, bool exchange) : m_Step(step), m_Fault(fault), m_Exchange(exchange) {}

  cEntry Look(const std::filesystem::path& p) override { return Do(p, [&] { return Real().Look(p); }); }
  cEntry LookThrough(const std::filesystem::path& p) override { return Do(p, [&] { return Real().LookThrough(p); }); }
  std::filesystem::path Canonical(const std::filesystem::path& p) override {
    return Do(p, [&] { return Real().Canonical(p); });
  }
  std::vector<std::string> List(const std::filesystem::path& p) override {
    std::vector<std::string> names = Do(p, [&] { return Real().List(p); });
    if (reverseListing) std::reverse(names.begin(), names.end());
    return names;
  }
  void MakePrivateFolder(const std::filesystem::path& p, const cEntry& like) override {
    Do(p, [&] { Real().MakePrivateFolder(p, like); });
  }
  void MakeFolder(const std::filesystem::path& p) override { Do(p, [&] { Real().MakeFolder(p); }); }
  void SetAccess(const std::filesystem::path& p, const cEntry& like) override {
    Do(p, [&] { Real().SetAccess(p, like); });
  }
  bool Move(const std::filesystem::path& from, const std::filesystem::path& to) override {
    return Do(to, [&] { return Real().Move(from, to); });
  }
  bool Exchange(const std::filesystem::path& a, const std::filesystem::path& b) override {
    return Do(b, [&] { return m_Exchange && Real().Exchange(a, b); });
  }
  void Remove(const std::filesystem::path& p) override { Do(p, [&] { Real().Remove(p); }); }
  std::unique_ptr<cHeldLock> TryLock(const std::filesystem::path& p) override {
    return Do(p, [&] { return Real().TryLock(p); });
  }
  bool CanWriteIn(const std::filesystem::path& p) override { return Do(p, [&] { return Real().CanWriteIn(p); }); }

  /// True when the run reached the faulty step.
  bool Reached() const { return m_Done >= m_Step; }
  /// Folders list their names the other way round: no choice may hang on the order.
  bool reverseListing = false;

 private:
  static cFileSystem& Real() { return SystemFileSystem(); }

  template <typename Call>
  auto Do(const std::filesystem::path& p, Call call) -> decltype(call()) {
    if (m_Dead) throw cCrash();
    const int step = ++m_Done;
    const bool failing = m_Fault == eFault::FailOnce ? step == m_Step : m_Fault == eFault::FailFromThenOn && step >= m_Step;
    if (failing) throw cFileFailure(p, EIO);
    if (m_Fault == eFault::CrashAfter && step == m_Step) {
      call();
      m_Dead = true;
      throw cCrash();
    }
    return call();
  }

  int m_Step;
  eFault m_Fault;
  bool m_Exchange;
  int m_Done = 0;
  bool m_Dead = false;
};
