#include "app/update/KivoUpdaterDelegate.h"

#include "app/errors/ErrorReporter.h"
#include "app/update/UpdateErrorClassification.h"
#include "core/Log.h"
#include "settings/DefaultsStore.h"

namespace kivo {

KivoUpdaterDelegate::KivoUpdaterDelegate(DefaultsStore& defaults, ErrorReporter& reporter, QObject* parent)
    : QObject(parent), defaults_(defaults), reporter_(reporter) {}

void KivoUpdaterDelegate::didAbortWithError(const ReportedError& error) {
    if (UpdateErrorClassification::isExpected(error)) {
        qCInfo(lcUpdate, "Sparkle aborted (expected): code=%lld %s", static_cast<long long>(error.code),
               qUtf8Printable(error.localizedDescription));
        return;
    }
    qCCritical(lcUpdate, "Sparkle aborted: domain=%s code=%lld %s", qUtf8Printable(error.domain),
               static_cast<long long>(error.code), qUtf8Printable(error.localizedDescription));
    reporter_.captureError(error);
}

void KivoUpdaterDelegate::failedToDownloadUpdate(const UpdateItem& item, const ReportedError& error) {
    qCCritical(lcUpdate, "Sparkle download failed: target=%s %s", qUtf8Printable(item.displayVersionString),
               qUtf8Printable(error.localizedDescription));
    // Reported even for the routine codes: a failed download is never routine.
    reporter_.captureError(error, [&item](ErrorScope& scope) {
        scope.setContextValue(
            QJsonObject{{QStringLiteral("target"), item.displayVersionString},
                        {QStringLiteral("build"), item.versionString},
                        {QStringLiteral("fileURL"),
                         item.fileURL ? item.fileURL->toString(QUrl::FullyEncoded) : QString()}},
            QStringLiteral("sparkle"));
    });
}

void KivoUpdaterDelegate::didDownloadUpdate(const UpdateItem& item) {
    qCInfo(lcUpdate, "Sparkle downloaded: target=%s", qUtf8Printable(item.displayVersionString));
}

void KivoUpdaterDelegate::didExtractUpdate(const UpdateItem& item) {
    qCInfo(lcUpdate, "Sparkle extracted: target=%s", qUtf8Printable(item.displayVersionString));
}

void KivoUpdaterDelegate::willInstallUpdate(const UpdateItem& item) {
    const auto target = item.displayVersionString;
    defaults_.setString(kInstallMarkerKey, target.toStdString());
    qCInfo(lcUpdate, "Sparkle willInstallUpdate target=%s", qUtf8Printable(target));
    if (onWillInstallUpdate) {
        onWillInstallUpdate();
    }
}

void KivoUpdaterDelegate::didFinishUpdateCycle(const std::optional<ReportedError>& error) {
    if (!error) {
        qCInfo(lcUpdate, "Sparkle update cycle finished");
        return;
    }
    if (UpdateErrorClassification::isExpected(*error)) {
        qCInfo(lcUpdate, "Sparkle cycle finished (expected): code=%lld", static_cast<long long>(error->code));
        return;
    }
    qCCritical(lcUpdate, "Sparkle cycle finished with error: domain=%s code=%lld %s",
               qUtf8Printable(error->domain), static_cast<long long>(error->code),
               qUtf8Printable(error->localizedDescription));
    reporter_.captureError(*error);
}

void KivoUpdaterDelegate::checkInstallMarker(const QString& runningVersion) {
    const auto marker = defaults_.stringValue(kInstallMarkerKey);
    if (!marker.isPresent()) {
        return;
    }
    const auto pending = QString::fromStdString(*marker.value);
    const auto current = runningVersion.isEmpty() ? QStringLiteral("?") : runningVersion;
    defaults_.remove(kInstallMarkerKey);
    if (pending == current) {
        qCInfo(lcUpdate, "Sparkle install completed: now running %s", qUtf8Printable(current));
        return;
    }
    qCCritical(lcUpdate, "Sparkle install marker present after relaunch: pending=%s current=%s",
               qUtf8Printable(pending), qUtf8Printable(current));
    reporter_.captureMessage(QStringLiteral("Sparkle install attempted target=") + pending +
                             QStringLiteral(" but app launched as ") + current);
}

} // namespace kivo
