#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// Fetching one web address over HTTP or HTTPS with the system's own client,
// certificates checked against the system's store. Where the program has a
// toolkit of its own (Qt on Linux) it uses that instead.

enum class eHttpFailure {
  None,
  HostLookup,
  Connect,
  Tls,
  Timeout,   // no data for silence
  TooSlow,   // not complete within overall
  TooLarge,  // more than maxBytes announced or received
  Redirect,  // refused by the caller's rule; detail names where it led
  Network,
};

struct cHttpLimits {
  std::chrono::milliseconds silence{30000};
  std::chrono::milliseconds overall{600000};
  std::uint64_t maxBytes = 0;
};

struct cHttpReply {
  eHttpFailure failure = eHttpFailure::None;
  int status = 0;  // the last answer's HTTP status; 0 when none came
  std::string body;
  std::optional<std::uint64_t> announced;  // its Content-Length, when sent
  std::string detail;                      // the system's words for a failure
};

/// Asked before each redirect is followed: from, to, redirects followed so far.
using cRedirectRule = std::function<bool(const std::string& from, const std::string& to, int hopsSoFar)>;
/// Called on the caller's thread as bytes arrive, and often enough while none
/// do that a window can handle its messages.
using cHttpProgress = std::function<void(std::uint64_t received, std::optional<std::uint64_t> announced)>;

/// GETs url, following a redirect only where `follow` allows it. A body that
/// ends early keeps what came (the caller holds it against `announced`). A stop
/// asked by a signal ends the transfer and throws cInterrupted.
cHttpReply HttpGet(const std::string& url, const cHttpLimits& limits, const cRedirectRule& follow,
                   const cHttpProgress& progress);
