#pragma once

#include "app/errors/ReportedError.h"
#include "app/update/UpdateItem.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace kivo {

class DefaultsStore;
class ErrorReporter;

// Follows the updater: names the feed, logs every step, reports unexpected failures, marks an install
// that is about to start (so the next launch can tell whether it took) and approves the quit it needs.
class KivoUpdaterDelegate : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kInstallMarkerKey = "lastUpdateInstallAttempt";
    static constexpr const char* kFeedURL = "https://kivo.app/appcast.xml";

    KivoUpdaterDelegate(DefaultsStore& defaults, ErrorReporter& reporter, QObject* parent = nullptr);

    // Run on the main thread inside `willInstallUpdate`, before it returns.
    std::function<void()> onWillInstallUpdate;

    QString feedURLString() const { return QString::fromLatin1(kFeedURL); }
    void didAbortWithError(const ReportedError& error);
    void failedToDownloadUpdate(const UpdateItem& item, const ReportedError& error);
    void didDownloadUpdate(const UpdateItem& item);
    void didExtractUpdate(const UpdateItem& item);
    void willInstallUpdate(const UpdateItem& item);
    void didFinishUpdateCycle(const std::optional<ReportedError>& error);

    // At launch: compares the marker of the last install with the running version, then removes it.
    // An empty `runningVersion` stands for an unknown one ("?").
    void checkInstallMarker(const QString& runningVersion);

private:
    DefaultsStore& defaults_;
    ErrorReporter& reporter_;
};

} // namespace kivo
