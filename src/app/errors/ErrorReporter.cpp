#include "app/errors/ErrorReporter.h"

#include "app/errors/HttpEnvelopeTransport.h"
#include "app/errors/LogEnvelopeTransport.h"
#include "core/Clock.h"
#include "core/Log.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QJsonDocument>
#include <QUuid>

namespace kivo {
namespace {

QString isoTime(double unixSeconds) {
    return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(unixSeconds * 1000.0), Qt::UTC)
        .toString(Qt::ISODateWithMs);
}

} // namespace

ErrorReporter::ErrorReporter(const Clock& clock, std::unique_ptr<EnvelopeTransport> transport,
                             QObject* parent)
    : QObject(parent), clock_(clock), transport_(std::move(transport)) {}

ErrorReporter::~ErrorReporter() = default;

void ErrorReporter::start(ErrorReportingOptions options) {
    if (started_) {
        qCWarning(lcLifecycle, "Error reporting is already started");
        return;
    }
    options_ = std::move(options);
    started_ = true;
    if (transport_) {
        return;
    }
    if (options_.dsn.isEmpty()) {
        transport_ = std::make_unique<LogEnvelopeTransport>();
        qCInfo(lcLifecycle, "Error reporting started without a DSN; reports go to the log");
    } else if (auto dsn = ErrorReportingDsn::parse(options_.dsn)) {
        transport_ = std::make_unique<HttpEnvelopeTransport>(*dsn);
        qCInfo(lcLifecycle, "Error reporting started");
    } else {
        transport_ = std::make_unique<LogEnvelopeTransport>();
        qCWarning(lcLifecycle, "Error reporting DSN is not valid; reports go to the log");
    }
}

ErrorEvent ErrorReporter::makeEvent(const QString& level) const {
    ErrorEvent event;
    event.eventId = QUuid::createUuid().toString(QUuid::Id128);
    event.timestamp = clock_.now().unixSeconds();
    event.level = level;
    event.environment = options_.environment;
    const auto version = QCoreApplication::applicationVersion();
    if (!version.isEmpty()) {
        event.release = QStringLiteral("kivo@") + version;
    }
    return event;
}

void ErrorReporter::captureError(const ReportedError& error,
                                 const std::function<void(ErrorScope&)>& configureScope) {
    if (!started_) {
        return;
    }
    auto event = makeEvent(QStringLiteral("error"));
    event.exceptions = std::vector<ErrorEvent::Exception>{
        {error.domain, QStringLiteral("Code: %1. %2").arg(error.code).arg(error.localizedDescription),
         ErrorEvent::Mechanism{QStringLiteral("NSError")}}};
    if (configureScope) {
        ErrorScope scope;
        configureScope(scope);
        event.contexts = scope.contexts();
    }
    deliver(std::move(event));
}

void ErrorReporter::captureMessage(const QString& message) {
    if (!started_) {
        return;
    }
    auto event = makeEvent(QStringLiteral("info"));
    event.message = message;
    deliver(std::move(event));
}

void ErrorReporter::captureCrash(const CrashRecord& crash, EnvelopeTransport::Delivered delivered) {
    if (!started_) {
        if (delivered) {
            delivered(false);
        }
        return;
    }
    auto event = makeEvent(QStringLiteral("fatal"));
    if (crash.time > 0) {
        event.timestamp = crash.time;
    }
    const QString value =
        crash.reason.isEmpty() ? QStringLiteral("Fatal signal %1").arg(crash.signalNumber) : crash.reason;
    event.exceptions = std::vector<ErrorEvent::Exception>{
        {crash.signalName, value, ErrorEvent::Mechanism{QStringLiteral("signalhandler")}}};
    // An event lists the frames caller first.
    std::vector<ErrorEvent::Frame> frames;
    for (auto f = crash.frames.rbegin(); f != crash.frames.rend(); ++f) {
        frames.push_back({*f});
    }
    event.threads = std::vector<ErrorEvent::Thread>{{std::move(frames)}};
    QJsonObject context{{QStringLiteral("thread_id"), crash.threadId},
                        {QStringLiteral("thread_name"), crash.threadName},
                        {QStringLiteral("signal"), crash.signalNumber}};
    if (!crash.complete) {
        context.insert(QStringLiteral("incomplete"), true);
    }
    event.contexts.insert(QStringLiteral("crash"), context);
    deliver(std::move(event), std::move(delivered));
}

void ErrorReporter::deliver(ErrorEvent event, EnvelopeTransport::Delivered delivered) {
    if (options_.beforeSend) {
        auto kept = options_.beforeSend(std::move(event));
        if (!kept) {
            if (delivered) {
                delivered(true);
            }
            return;
        }
        event = std::move(*kept);
    }
    const double sentAt = clock_.now().unixSeconds();
    transport_->send(event, envelope(event, options_.dsn, sentAt), std::move(delivered));
}

QByteArray ErrorReporter::envelope(const ErrorEvent& event, const QString& dsn, double sentAt) {
    QJsonObject header{{QStringLiteral("event_id"), event.eventId},
                       {QStringLiteral("sent_at"), isoTime(sentAt)}};
    if (!dsn.isEmpty()) {
        header.insert(QStringLiteral("dsn"), dsn);
    }
    const auto payload = QJsonDocument(event.toJson()).toJson(QJsonDocument::Compact);
    const QJsonObject item{{QStringLiteral("type"), QStringLiteral("event")},
                           {QStringLiteral("length"), static_cast<qint64>(payload.size())}};
    return QJsonDocument(header).toJson(QJsonDocument::Compact) + '\n' +
           QJsonDocument(item).toJson(QJsonDocument::Compact) + '\n' + payload + '\n';
}

} // namespace kivo
