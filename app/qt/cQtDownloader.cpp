#include "app/qt/cQtDownloader.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include <memory>
#include <utility>
#include <vector>

#include "platform/Path.h"
#include "sensyu/FanArchive.h"

namespace fs = std::filesystem;

namespace {

constexpr int kIdleMilliseconds = 30'000;

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

void ShowFailure(cWindowServices& window, const std::string& url, eDownloadFailure failure,
                 const std::string& detail) {
  window.MsgBox(DownloadFailureText(url, failure, detail), MsgButtons::OK, MsgIcon::Exclamation, kAppTitle);
}

}  // namespace

cQtDownloader::cQtDownloader(fs::path folder, std::string base) : m_Folder(std::move(folder)), m_Base(std::move(base)) {}

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
    ShowFailure(window, url, fetched.failure, fetched.detail);
    return std::nullopt;
  }
  return Save(period, fetched, url, window);
}

cQtDownloader::cFetched cQtDownloader::Fetch(const std::string& url, cWindowServices& window) {
  cFetched fetched;
  QNetworkAccessManager manager;
  QNetworkReply* reply = manager.get(QNetworkRequest(QUrl(QString::fromStdString(url))));
  QEventLoop loop;
  QTimer idle;
  idle.setSingleShot(true);
  QObject::connect(&idle, &QTimer::timeout, reply, [&] {
    fetched.failure = eDownloadFailure::Timeout;
    reply->abort();
  });
  QObject::connect(reply, &QNetworkReply::readyRead, reply, [&] {
    if (fetched.bytes.size() + static_cast<std::size_t>(reply->bytesAvailable()) > kMaxArchiveBytes) {
      fetched.failure = eDownloadFailure::TooLarge;
      reply->abort();
      return;
    }
    const QByteArray chunk = reply->readAll();
    fetched.bytes.append(chunk.constData(), static_cast<std::size_t>(chunk.size()));
    idle.start(kIdleMilliseconds);
    window.SetLabel(ProgressLabel::Counter, std::to_string(fetched.bytes.size() / 1024) + " KB");
    window.DoEvents();
  });
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  idle.start(kIdleMilliseconds);
  if (!reply->isFinished()) loop.exec();
  idle.stop();
  Judge(*reply, fetched);
  return fetched;
}

void cQtDownloader::Judge(const QNetworkReply& reply, cFetched& fetched) {
  const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
  if (fetched.failure != eDownloadFailure::None) {
    // Already stopped by the idle timer or the size limit; the abort's own error says nothing more.
  } else if (status.isValid() && status.toInt() != 200) {
    fetched.failure = eDownloadFailure::HttpStatus;
    fetched.status = status.toInt();
    fetched.detail = std::to_string(fetched.status);
  } else if (reply.error() != QNetworkReply::NoError || !status.isValid()) {
    fetched.failure = FailureOf(reply.error());
    fetched.detail = reply.errorString().toStdString();
  } else if (!IsLzhArchive(fetched.bytes)) {
    fetched.failure = eDownloadFailure::NotLzh;
  }
  if (fetched.failure != eDownloadFailure::None) fetched.bytes.clear();
}

std::optional<fs::path> cQtDownloader::Save(const std::string& yymm, const cFetched& fetched, const std::string& url,
                                            cWindowServices& window) {
  std::error_code ec;
  std::optional<fs::path> saved = SaveArchive(m_Folder, "fan" + yymm + ".lzh", fetched.bytes, ec);
  if (!saved) ShowFailure(window, url, eDownloadFailure::Save, PathToUtf8(m_Folder) + ": " + ec.message());
  return saved;
}
