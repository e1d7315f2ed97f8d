#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// One HTTP or HTTPS request with the system's own client, certificates checked
// against the system's store. Where the program has a toolkit of its own (Qt
// on Linux) the toolkit makes the request instead, to the same terms. What to
// make of the answer (redirects, limits, the counter) is the caller's.

enum class eHttpFailure {
  None,
  HostLookup,
  Connect,
  Tls,
  Network,  // the connection failed or closed early; what came is kept
  Stopped,  // the watch said stop
};

struct cHttpReply {
  eHttpFailure failure = eHttpFailure::None;
  int status = 0;                          // the HTTP status; 0 when no answer came
  std::string location;                    // where a redirect leads, as the server wrote it
  std::optional<std::uint64_t> announced;  // the Content-Length, when sent
  std::string body;                        // of an answer 200 only
  std::string detail;                      // the system's words for a failure
};

/// Told on the caller's thread as bytes arrive, and at least every tenth of a
/// second while none do (so that a window keeps repainting); false stops the
/// transfer at once.
using cHttpWatch = std::function<bool(std::uint64_t received, std::optional<std::uint64_t> announced)>;

/// GETs url as it stands: no redirect followed, nothing unpacked on the way.
cHttpReply HttpGet(const std::string& url, const cHttpWatch& watch);
