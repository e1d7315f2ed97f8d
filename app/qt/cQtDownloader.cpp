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
#include <cstdint>
#include <memory>
#include <utility>

#include "platform/Interrupt.h"

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

// What the finished reply tells of the transfer; JudgeFetch decides the rest.
// Qt raises an error of its own for an answer other than 200 and for a body
// closed before its Content-Length: those the status and the cut body tell.
void Finish(const QNetworkReply& reply, cFetchResult& fetched) {
  const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
  fetched.status = status.isValid() ? status.toInt() : 0;
  fetched.announced = Announced(reply);
  const bool cut = fetched.announced && fetched.bytes.size() < *fetched.announced;
  const bool told = status.isValid() && (fetched.status != 200 || cut || reply.error() == QNetworkReply::NoError);
  // A failure already set (a limit, a refused redirect) stands; the abort's own error says nothing more.
  if (fetched.failure != eDownloadFailure::None || told) return;
  fetched.failure = FailureOf(reply.error());
  fetched.detail = reply.errorString().toStdString();
}

}  // namespace

cQtDownloader::cQtDownloader(fs::path folder, std::string base, cDownloadLimits limits)
    : m_Folder(std::move(folder)), m_Base(std::move(base)), m_Limits(limits) {}

std::optional<fs::path> cQtDownloader::Download(const std::string& yymm, cWindowServices& window) {
  const auto application = EnsureApplication();
  const cFetch fetch = [&](const std::string& url) { return Fetch(url, window); };
  return DownloadArchive(fetch, yymm, m_Base, m_Folder, m_Limits, window);
}

cFetchResult cQtDownloader::Fetch(const std::string& url, cWindowServices& window) const {
  cFetchResult fetched;
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
  Finish(*reply, fetched);
  return fetched;
}
