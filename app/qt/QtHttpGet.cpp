#include "app/qt/QtHttpGet.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <cstdint>
#include <memory>

namespace {

// How often the watch is told while no bytes come.
constexpr std::chrono::milliseconds kTick{100};

// The terminal front end runs without a Qt application, and Qt Network needs one.
std::unique_ptr<QCoreApplication> EnsureApplication() {
  static int argc = 1;
  static char name[] = "tobirex";
  static char* argv[] = {name, nullptr};
  if (QCoreApplication::instance() != nullptr) return nullptr;
  return std::make_unique<QCoreApplication>(argc, argv);
}

eHttpFailure FailureOf(QNetworkReply::NetworkError error) {
  switch (error) {
    case QNetworkReply::HostNotFoundError: return eHttpFailure::HostLookup;
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError: return eHttpFailure::Connect;
    case QNetworkReply::SslHandshakeFailedError: return eHttpFailure::Tls;
    default: return eHttpFailure::Network;
  }
}

std::optional<std::uint64_t> Announced(const QNetworkReply& reply) {
  const QVariant length = reply.header(QNetworkRequest::ContentLengthHeader);
  if (!length.isValid()) return std::nullopt;
  return length.toULongLong();
}

// Qt would follow redirects by its own rule: the caller follows them.
QNetworkRequest Request(const QUrl& url) {
  QNetworkRequest request(url);
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
  // Unpacked on the way, a body could not be held against its Content-Length.
  request.setRawHeader("Accept-Encoding", "identity");
  return request;
}

// What the finished reply tells. Qt raises an error of its own for an answer
// other than 200 and for a body closed before its Content-Length: those the
// status and the cut body tell, so only a failure without an answer is kept.
void Finish(const QNetworkReply& reply, cHttpReply& answer) {
  const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
  answer.status = status.isValid() ? status.toInt() : 0;
  answer.announced = Announced(reply);
  answer.location = reply.rawHeader("Location").toStdString();
  if (answer.status != 200) answer.body.clear();
  const bool cut = answer.announced && answer.body.size() < *answer.announced;
  const bool told = status.isValid() && (answer.status != 200 || cut || reply.error() == QNetworkReply::NoError);
  if (answer.failure != eHttpFailure::None || told) return;
  answer.failure = FailureOf(reply.error());
  answer.detail = reply.errorString().toStdString();
}

}  // namespace

cHttpReply QtHttpGet(const std::string& url, const cHttpWatch& watch) {
  const auto application = EnsureApplication();
  cHttpReply answer;
  QNetworkAccessManager manager;
  QNetworkReply* reply = manager.get(Request(QUrl(QString::fromStdString(url))));
  QEventLoop loop;
  QTimer tick;
  const auto tell = [&] {
    if (answer.failure == eHttpFailure::None && !watch(answer.body.size(), Announced(*reply))) {
      answer.failure = eHttpFailure::Stopped;
      reply->abort();
    }
  };
  QObject::connect(&tick, &QTimer::timeout, &loop, tell);
  QObject::connect(reply, &QNetworkReply::readyRead, reply, [&] {
    const QByteArray chunk = reply->readAll();
    answer.body.append(chunk.constData(), static_cast<std::size_t>(chunk.size()));
    tell();
  });
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  tick.start(kTick);
  if (!reply->isFinished()) loop.exec();
  tick.stop();
  if (answer.failure == eHttpFailure::None) watch(answer.body.size(), Announced(*reply));  // the last bytes count too
  Finish(*reply, answer);
  reply->deleteLater();
  return answer;
}
