#include "platform/HttpGet.h"

#include "platform/win32/Wide.h"

#include <winhttp.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>


namespace {

// How often the watch is told while no bytes come.
constexpr std::chrono::milliseconds kTick{100};
// WinHTTP's own time-outs only back up the caller's limits: an hour.
constexpr int kBackupTimeout = 3600 * 1000;

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
  std::mutex lock;
  std::condition_variable changed;
  HINTERNET request = nullptr;  // closed by whoever ends the transfer first
  bool stopped = false;         // the caller stopped it; its failure stands
  bool done = false;
  cHttpReply reply;

  // Closing the request is what ends a call blocked in it.
  void CloseRequest() {
    if (request != nullptr) ::WinHttpCloseHandle(request);
    request = nullptr;
  }
};

// The blocking half, on its own thread.
class cWorker {
 public:
  explicit cWorker(std::shared_ptr<cTransfer> t) : m_Held(std::move(t)), m_T(*m_Held) {}

  void Run(const std::string& url) {
    const cInternet session(::WinHttpOpen(L"tobirex", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                          WINHTTP_NO_PROXY_BYPASS, 0));
    if (session.Get() == nullptr) return Finish(FailureOf(::GetLastError()), ::GetLastError());
    ::WinHttpSetTimeouts(session.Get(), kBackupTimeout, kBackupTimeout, kBackupTimeout, kBackupTimeout);
    const std::wstring wide = Widen(url);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!::WinHttpCrackUrl(wide.c_str(), static_cast<DWORD>(wide.size()), 0, &parts))
      return Finish(eHttpFailure::Network, ::GetLastError());
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    const std::wstring path = std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) +
                              std::wstring(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    const cInternet connection(::WinHttpConnect(session.Get(), host.c_str(), parts.nPort, 0));
    if (connection.Get() == nullptr) return Finish(FailureOf(::GetLastError()), ::GetLastError());
    HINTERNET request = ::WinHttpOpenRequest(connection.Get(), L"GET", path.empty() ? L"/" : path.c_str(), nullptr,
                                             WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                             parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0);
    if (request == nullptr) return Finish(FailureOf(::GetLastError()), ::GetLastError());
    {
      const std::lock_guard held(m_T.lock);
      m_T.request = request;
      if (m_T.stopped) return m_T.CloseRequest();
    }
    Exchange(request);
  }

 private:
  void Exchange(HINTERNET request) {
    // The caller judges every redirect by its own rule.
    DWORD never = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
    ::WinHttpSetOption(request, WINHTTP_OPTION_REDIRECT_POLICY, &never, sizeof never);
    // Unpacked on the way, a body could not be held against its Content-Length.
    ::WinHttpAddRequestHeaders(request, L"Accept-Encoding: identity", static_cast<DWORD>(-1),
                               WINHTTP_ADDREQ_FLAG_ADD);
    if (!::WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !::WinHttpReceiveResponse(request, nullptr))
      return Finish(FailureOf(::GetLastError()), ::GetLastError());
    DWORD status = 0, size = sizeof status;
    ::WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                          WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX);
    {
      const std::lock_guard held(m_T.lock);
      m_T.reply.status = static_cast<int>(status);
      m_T.reply.announced = ContentLength(request);
      m_T.reply.location = Narrow(TextHeader(request, WINHTTP_QUERY_LOCATION));
      m_T.changed.notify_all();
    }
    // Only a whole answer carries the archive; any other status is told by itself.
    if (status == 200) ReadBody(request);
    Finish(eHttpFailure::None, 0);
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
      if (!::WinHttpReadData(request, chunk.data(), available, &read))
        return Finish(eHttpFailure::Network, ::GetLastError());
      if (read == 0) return;
      const std::lock_guard held(m_T.lock);
      if (m_T.stopped) return;
      m_T.reply.body.append(chunk.data(), read);
      m_T.changed.notify_all();
    }
  }

  void Finish(eHttpFailure failure, DWORD error) {
    const std::lock_guard held(m_T.lock);
    if (!m_T.stopped && !m_T.done) {
      m_T.reply.failure = failure;
      if (error != 0) m_T.reply.detail = WinHttpErrorText(error);
    }
    m_T.done = true;
    m_T.CloseRequest();
    m_T.changed.notify_all();
  }

  std::shared_ptr<cTransfer> m_Held;
  cTransfer& m_T;
};

}  // namespace

cHttpReply HttpGet(const std::string& url, const cHttpWatch& watch) {
  const auto shared = std::make_shared<cTransfer>();
  cTransfer& t = *shared;
  std::thread blocking([worker = cWorker(shared), url]() mutable { worker.Run(url); });
  bool stopped = false;
  for (bool ended = false; !ended;) {
    std::uint64_t received = 0;
    std::optional<std::uint64_t> announced;
    {
      std::unique_lock held(t.lock);
      const std::size_t before = t.reply.body.size();
      t.changed.wait_for(held, kTick, [&] { return t.done || t.reply.body.size() != before; });
      ended = t.done;
      received = t.reply.body.size();
      announced = t.reply.announced;
    }
    // Told once more at the end, so that the last bytes count too.
    if (!watch(received, announced) && !ended) {
      const std::lock_guard held(t.lock);
      t.reply.failure = eHttpFailure::Stopped;
      t.stopped = ended = stopped = true;
      t.CloseRequest();
    }
  }
  // Closing the request ends a blocked call on Windows but not under every
  // emulation of it; a worker still blocked ends on its own, with nobody waiting.
  if (stopped) {
    blocking.detach();
  } else {
    blocking.join();
  }
  const std::lock_guard held(t.lock);
  if (stopped) return t.reply;  // the worker may still hold it
  return std::move(t.reply);
}
