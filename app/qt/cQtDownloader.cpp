#include "app/qt/cQtDownloader.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <chrono>
#include <memory>
#include <utility>
#include <vector>

#include "platform/Interrupt.h"
#include "platform/Path.h"

namespace fs = std::filesystem;

namespace {

// How often a stop asked by Ctrl-C or a termination request is looked for.
constexpr std::chrono::milliseconds kStopPoll{100};

// The terminal front end runs without a Qt application, and Qt Network needs one.
std::unique_ptr<QCoreApplication> EnsureApplication() {
  static int argc = 1;
  static char name[] = "tobirex";
  static char* argv[] = {name, nullptr};
  if (QCoreApplication::instance() != nullptr) return nullptr;
  return std::make_unique<QCoreApplication>(argc, argv);
}

eDownloadFailure FailureOf(QNetworkReply::NetworkError error) {
  switch (error) {
    case QNetworkReply::HostNotFoundError: return eDownloadFailure::HostLookup;
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError: return eDownloadFailure::Connect;
    case QNetworkReply::SslHandshakeFailedError: return eDownloadFailure::Tls;
    case QNetworkReply::TimeoutError: return eDownloadFailure::Timeout;
    default: return eDownloadFailure::Network;
  }
}

void ShowFailure(cWindowServices& window, const std::string& url, eDownloadFailure failure, const std::string& detail,
                 const cDownloadLimits& limits) {
  window.MsgBox(DownloadFailureText(url, failure, detail, limits), MsgButtons::OK, MsgIcon::Exclamation, kAppTitle);
}

std::optional<std::uint64_t> Announced(const QNetworkReply& reply) {
  const QVariant length = reply.header(QNetworkRequest::ContentLengthHeader);
  if (!length.isValid()) return std::nullopt;
  return length.toULongLong();
}

// Qt would follow redirects by its own rule, and Qt 6.4's hook for a chosen
// rule breaks after two hops, so every hop is a request of ours.
QNetworkRequest Request(const QUrl& url) {
  QNetworkRequest request(url);
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
  // Unpacked on the way, a body could not be held against its Content-Length.
  request.setRawHeader("Accept-Encoding", "identity");
  return request;
}

// Where a redirect answer leads, or nothing when the answer is no redirect.
QUrl RedirectTarget(const QNetworkReply& reply, const QUrl& from) {
  const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  const QVariant target = reply.attribute(QNetworkRequest::RedirectionTargetAttribute);
  const bool redirect = status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
  return redirect && target.isValid() ? from.resolved(target.toUrl()) : QUrl();
}

}  // namespace

cQtDownloader::cQtDownloader(fs::path folder, std::string base, cDownloadLimits limits)
    : m_Folder(std::move(folder)), m_Base(std::move(base)), m_Limits(limits) {}

std::optional<fs::path> cQtDownloader::Download(const std::string& yymm, cWindowServices& window) {
  const auto application = EnsureApplication();
  const std::vector<std::string> periods = yymm.empty() ? NewestPeriodsToday() : std::vector<std::string>{yymm};
  window.SetLabel(ProgressLabel::Message, "ダウンロードしています ...");
  window.SetLabel(ProgressLabel::Counter, "0 KB");
  window.DoEvents();
  cFetched fetched;
  std::string url, period;
  for (const std::string& candidate : periods) {
    period = candidate;
    url = ArchiveUrl(m_Base, period);
    fetched = Fetch(url, window);
    // A period not yet published answers 404; only then is the one before it tried.
    if (!yymm.empty() || fetched.failure != eDownloadFailure::HttpStatus || fetched.status != 404) break;
  }
  if (fetched.failure != eDownloadFailure::None) {
    ShowFailure(window, url, fetched.failure, fetched.detail, m_Limits);
    return std::nullopt;
  }
  ThrowIfInterrupted();  // asked while the archive was checked: nothing is saved
  return Save(period, fetched, url, window);
}

cQtDownloader::cFetched cQtDownloader::Fetch(const std::string& url, cWindowServices& window) {
  cFetched fetched;
  QNetworkAccessManager manager;
  QNetworkReply* reply = nullptr;
  const auto fail = [&](eDownloadFailure failure) {
    fetched.failure = failure;
    reply->abort();
  };
  QEventLoop loop;
  QTimer idle, overall, stop;
  idle.setSingleShot(true);
  overall.setSingleShot(true);
  QObject::connect(&idle, &QTimer::timeout, &loop, [&] { fail(eDownloadFailure::Timeout); });
  QObject::connect(&overall, &QTimer::timeout, &loop, [&] { fail(eDownloadFailure::TooSlow); });
  // A signal only leaves a request; it is taken up here, then thrown after the loop.
  QObject::connect(&stop, &QTimer::timeout, &loop, [&] {
    if (StopRequested() != 0) reply->abort();
  });
  idle.start(m_Limits.silence);
  overall.start(m_Limits.overall);
  stop.start(kStopPoll);
  QUrl at(QString::fromStdString(url));
  for (int hops = 0;; ++hops) {
    fetched.bytes.clear();  // a redirect's own body
    reply = manager.get(Request(at));
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [&] {
      const std::optional<std::uint64_t> announced = Announced(*reply);
      const std::uint64_t coming = fetched.bytes.size() + static_cast<std::uint64_t>(reply->bytesAvailable());
      if (std::max(coming, announced.value_or(0)) > kMaxArchiveBytes) return fail(eDownloadFailure::TooLarge);
      const QByteArray chunk = reply->readAll();
      fetched.bytes.append(chunk.constData(), static_cast<std::size_t>(chunk.size()));
      idle.start();
      window.SetLabel(ProgressLabel::Counter, ReceivedText(fetched.bytes.size(), announced));
      window.DoEvents();
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) loop.exec();
    ThrowIfInterrupted();
    const QUrl next = RedirectTarget(*reply, at);
    if (fetched.failure != eDownloadFailure::None || next.isEmpty()) break;
    if (!RedirectAllowed(at.toString().toStdString(), next.toString().toStdString(), hops)) {
      fetched.failure = eDownloadFailure::Redirect;
      fetched.detail = next.toString().toStdString();
      break;
    }
    at = next;
    idle.start();
    reply->deleteLater();
  }
  idle.stop();
  overall.stop();
  stop.stop();
  Judge(*reply, fetched);
  return fetched;
}

void cQtDownloader::Judge(const QNetworkReply& reply, cFetched& fetched) {
  const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
  fetched.announced = Announced(reply);
  // A body that ends before its Content-Length is told as cut, whatever error the early close raised.
  const bool cut = fetched.announced && fetched.bytes.size() < *fetched.announced;
  if (fetched.failure != eDownloadFailure::None) {
    // Already stopped by a limit or a refused redirect; the abort's own error says nothing more.
  } else if (status.isValid() && status.toInt() != 200) {
    fetched.failure = eDownloadFailure::HttpStatus;
    fetched.status = status.toInt();
    fetched.detail = std::to_string(fetched.status);
  } else if (!status.isValid() || (reply.error() != QNetworkReply::NoError && !cut)) {
    fetched.failure = FailureOf(reply.error());
    fetched.detail = reply.errorString().toStdString();
  } else {
    cBodyVerdict verdict = JudgeBody(fetched.bytes, fetched.announced);
    fetched.failure = verdict.failure;
    fetched.detail = std::move(verdict.detail);
  }
  if (fetched.failure != eDownloadFailure::None) fetched.bytes.clear();
}

std::optional<fs::path> cQtDownloader::Save(const std::string& yymm, const cFetched& fetched, const std::string& url,
                                            cWindowServices& window) {
  std::error_code ec;
  std::optional<fs::path> saved = SaveArchive(m_Folder, "fan" + yymm + ".lzh", fetched.bytes, ec);
  if (!saved) ShowFailure(window, url, eDownloadFailure::Save, PathToUtf8(m_Folder) + ": " + ec.message(), m_Limits);
  return saved;
}
