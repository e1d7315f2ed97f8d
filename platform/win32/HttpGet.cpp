#include "platform/HttpGet.h"

#include "platform/win32/Wide.h"

#include <winhttp.h>

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/Interrupt.h"

namespace {

using Clock = std::chrono::steady_clock;

// How often the caller looks at the limits and at a stop asked by Ctrl-C.
constexpr std::chrono::milliseconds kTick{100};
// WinHTTP's own time-outs only back up ours, so that ours are the ones told.
constexpr std::chrono::milliseconds kGrace{5000};

class cInternet {
 public:
  explicit cInternet(HINTERNET h) : m_H(h) {}
  ~cInternet() {
    if (m_H != nullptr) ::WinHttpCloseHandle(m_H);
  }
  cInternet(const cInternet&) = delete;
  cInternet& operator=(const cInternet&) = delete;
  HINTERNET Get() const { return m_H; }

 private:
  HINTERNET m_H;
};

eHttpFailure FailureOf(DWORD error) {
  switch (error) {
    case ERROR_WINHTTP_NAME_NOT_RESOLVED: return eHttpFailure::HostLookup;
    case ERROR_WINHTTP_CANNOT_CONNECT: return eHttpFailure::Connect;
    case ERROR_WINHTTP_SECURE_FAILURE:
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
    case ERROR_WINHTTP_SECURE_INVALID_CA:
    case ERROR_WINHTTP_SECURE_CERT_REV_FAILED:
    case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
    case ERROR_WINHTTP_SECURE_CERT_REVOKED:
    case ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE: return eHttpFailure::Tls;
    case ERROR_WINHTTP_TIMEOUT: return eHttpFailure::Timeout;
    default: break;
  }
  return eHttpFailure::Network;
}

// WinHTTP's messages live in its own module, not in the system's table.
std::string WinHttpErrorText(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE |
                                       FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   ::GetModuleHandleW(L"winhttp.dll"), error, 0, reinterpret_cast<wchar_t*>(&text),
                                   0, nullptr);
  std::wstring message = n > 0 && text != nullptr ? std::wstring(text, n) : L"WinHTTP error " + std::to_wstring(error);
  ::LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L'.'))
    message.pop_back();
  return Narrow(message);
}

bool IsRedirect(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// A Location header may be relative to the address that answered.
std::string Resolve(const std::string& base, const std::string& ref) {
  const std::size_t colon = ref.find(':');
  const std::size_t slash = ref.find('/');
  if (colon != std::string::npos && (slash == std::string::npos || colon < slash)) return ref;
  const std::size_t hostStart = base.find("://") + 3;
  const std::size_t pathStart = std::min(base.find_first_of("/?#", hostStart), base.size());
  if (ref.starts_with("//")) return base.substr(0, hostStart - 2) + ref;
  if (ref.starts_with("/")) return base.substr(0, pathStart) + ref;
  const std::size_t query = std::min(base.find_first_of("?#", pathStart), base.size());
  const std::size_t lastSlash = base.rfind('/', query);
  if (lastSlash == std::string::npos || lastSlash < pathStart) return base.substr(0, pathStart) + "/" + ref;
  return base.substr(0, lastSlash + 1) + ref;
}

std::wstring TextHeader(HINTERNET request, DWORD which) {
  DWORD size = 0;
  ::WinHttpQueryHeaders(request, which, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER, &size,
                        WINHTTP_NO_HEADER_INDEX);
  if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return {};
  std::wstring text(size / sizeof(wchar_t), L'\0');
  if (!::WinHttpQueryHeaders(request, which, WINHTTP_HEADER_NAME_BY_INDEX, text.data(), &size,
                             WINHTTP_NO_HEADER_INDEX))
    return {};
  text.resize(size / sizeof(wchar_t));
  return text;
}

std::optional<std::uint64_t> ContentLength(HINTERNET request) {
  const std::wstring text = TextHeader(request, WINHTTP_QUERY_CONTENT_LENGTH);
  if (text.empty() || text.find_first_not_of(L"0123456789") != std::wstring::npos) return std::nullopt;
  return std::stoull(text);
}

// What the worker and the caller share; the lock guards all of it. The worker
// holds it too: a call blocked in WinHTTP may outlive a caller that gave up.
struct cTransfer {
  cTransfer(const cHttpLimits& l, cRedirectRule f) : limits(l), follow(std::move(f)) {}
  const cHttpLimits limits;
  const cRedirectRule follow;
  std::mutex lock;
  std::condition_variable changed;
  HINTERNET request = nullptr;  // the request in flight; closed by whoever ends it first
  bool aborted = false;         // the caller stopped the transfer; its failure stands
  bool done = false;
  int hop = 0;
  std::uint64_t received = 0;  // of this hop's body
  cHttpReply reply;

  // Closing the request is what ends a call blocked in it.
  void CloseRequest() {
    if (request != nullptr) ::WinHttpCloseHandle(request);
    request = nullptr;
  }
};

// The blocking half, on its own thread: one request per hop.
class cWorker {
 public:
  explicit cWorker(std::shared_ptr<cTransfer> t) : m_Held(std::move(t)), m_T(*m_Held), m_Limits(m_T.limits) {}

  void Run(std::string at) {
    const cInternet session(::WinHttpOpen(L"tobirex", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                          WINHTTP_NO_PROXY_BYPASS, 0));
    if (session.Get() == nullptr) return Finish(FailureOf(::GetLastError()), ::GetLastError());
    const int backup = static_cast<int>((m_Limits.silence + kGrace).count());
    ::WinHttpSetTimeouts(session.Get(), backup, backup, backup, backup);
    for (int hops = 0;; ++hops) {
      std::string next;
      if (!Request(session.Get(), at, next)) return;
      if (next.empty()) return Finish(eHttpFailure::None, 0);
      if (!m_T.follow(at, next, hops)) {
        Finish(eHttpFailure::Redirect, 0);
        const std::lock_guard held(m_T.lock);
        m_T.reply.detail = next;
        return;
      }
      at = std::move(next);
    }
  }

 private:
  // One request; false when the transfer ended in it. `next` gets where a redirect leads.
  bool Request(HINTERNET session, const std::string& at, std::string& next) {
    const std::wstring wide = Widen(at);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!::WinHttpCrackUrl(wide.c_str(), static_cast<DWORD>(wide.size()), 0, &parts))
      return Finish(eHttpFailure::Network, ::GetLastError()), false;
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    const std::wstring path = std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) +
                              std::wstring(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    const cInternet connection(::WinHttpConnect(session, host.c_str(), parts.nPort, 0));
    if (connection.Get() == nullptr) return Finish(FailureOf(::GetLastError()), ::GetLastError()), false;
    HINTERNET request = ::WinHttpOpenRequest(connection.Get(), L"GET", path.empty() ? L"/" : path.c_str(), nullptr,
                                             WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                             parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0);
    if (request == nullptr) return Finish(FailureOf(::GetLastError()), ::GetLastError()), false;
    {
      const std::lock_guard held(m_T.lock);
      m_T.request = request;
      m_T.received = 0;
      m_T.reply.body.clear();  // a redirect's own body
      m_T.reply.announced.reset();
      ++m_T.hop;
      if (m_T.aborted) return m_T.CloseRequest(), false;
    }
    // Each hop is judged by the caller's rule, not WinHTTP's.
    DWORD never = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
    ::WinHttpSetOption(request, WINHTTP_OPTION_REDIRECT_POLICY, &never, sizeof never);
    // Unpacked on the way, a body could not be held against its Content-Length.
    ::WinHttpAddRequestHeaders(request, L"Accept-Encoding: identity", static_cast<DWORD>(-1),
                               WINHTTP_ADDREQ_FLAG_ADD);
    if (!::WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !::WinHttpReceiveResponse(request, nullptr))
      return Finish(FailureOf(::GetLastError()), ::GetLastError()), false;
    DWORD status = 0, size = sizeof status;
    ::WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                          WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX);
    const std::optional<std::uint64_t> announced = ContentLength(request);
    const std::wstring location = IsRedirect(static_cast<int>(status)) ? TextHeader(request, WINHTTP_QUERY_LOCATION)
                                                                         : std::wstring();
    {
      const std::lock_guard held(m_T.lock);
      m_T.reply.status = static_cast<int>(status);
      m_T.reply.announced = announced;
    }
    if (!location.empty()) {
      next = Resolve(at, Narrow(location));
      const std::lock_guard held(m_T.lock);
      m_T.CloseRequest();
      return true;
    }
    if (announced && *announced > m_Limits.maxBytes) return Finish(eHttpFailure::TooLarge, 0), false;
    // Only a whole answer carries the archive; any other status is told by itself.
    if (status == 200) ReadBody(request);
    return true;
  }

  void ReadBody(HINTERNET request) {
    std::string chunk;
    for (;;) {
      DWORD available = 0, read = 0;
      // Waits for whatever comes first, so a trickle still moves the figure.
      if (!::WinHttpQueryDataAvailable(request, &available))
        return Finish(eHttpFailure::Network, ::GetLastError());
      if (available == 0) return;
      chunk.resize(available);
      if (!::WinHttpReadData(request, chunk.data(), available, &read)) return Finish(eHttpFailure::Network, ::GetLastError());
      if (read == 0) return;
      const std::lock_guard held(m_T.lock);
      if (m_T.received + read > m_Limits.maxBytes) {
        m_T.reply.body.clear();
        return FinishLocked(eHttpFailure::TooLarge, 0);
      }
      m_T.reply.body.append(chunk.data(), read);
      m_T.received += read;
      m_T.changed.notify_all();
    }
  }

  void Finish(eHttpFailure failure, DWORD error) {
    const std::lock_guard held(m_T.lock);
    FinishLocked(failure, error);
  }
  void FinishLocked(eHttpFailure failure, DWORD error) {
    if (!m_T.aborted && !m_T.done) {
      m_T.reply.failure = failure;
      if (error != 0) m_T.reply.detail = WinHttpErrorText(error);
    }
    m_T.done = true;
    m_T.CloseRequest();
    m_T.changed.notify_all();
  }

  std::shared_ptr<cTransfer> m_Held;
  cTransfer& m_T;
  const cHttpLimits& m_Limits;
};

}  // namespace

cHttpReply HttpGet(const std::string& url, const cHttpLimits& limits, const cRedirectRule& follow,
                   const cHttpProgress& progress) {
  const auto shared = std::make_shared<cTransfer>(limits, follow);
  cTransfer& t = *shared;
  std::thread blocking([worker = cWorker(shared), url]() mutable { worker.Run(url); });
  bool gaveUp = false;
  const Clock::time_point start = Clock::now();
  Clock::time_point lastData = start;
  std::pair<int, std::uint64_t> seen{0, 0};
  std::uint64_t received = 0;
  std::optional<std::uint64_t> announced;
  for (bool ended = false; !ended;) {
    {
      std::unique_lock held(t.lock);
      t.changed.wait_for(held, kTick, [&] { return t.done || std::pair(t.hop, t.received) != seen; });
      const Clock::time_point now = Clock::now();
      if (std::pair(t.hop, t.received) != seen) {
        seen = {t.hop, t.received};
        lastData = now;
      }
      received = t.received;
      announced = t.reply.announced;
      eHttpFailure limit = eHttpFailure::None;
      if (now - lastData >= limits.silence) limit = eHttpFailure::Timeout;
      if (now - start >= limits.overall) limit = eHttpFailure::TooSlow;
      ended = t.done;
      if (!ended && (limit != eHttpFailure::None || StopRequested() != 0)) {
        t.reply.failure = limit;
        t.reply.detail.clear();
        t.aborted = ended = gaveUp = true;
        t.CloseRequest();
      }
    }
    progress(received, announced);
  }
  // Closing the request ends a blocked call on Windows but not under every
  // emulation of it; a worker still blocked ends on its own, with nobody waiting.
  if (gaveUp) {
    blocking.detach();
  } else {
    blocking.join();
  }
  ThrowIfInterrupted();
  const std::lock_guard held(t.lock);
  if (gaveUp) return t.reply;  // the worker may still hold it
  return std::move(t.reply);
}
