#pragma once

#include "app/errors/ReportedError.h"
#include "app/ports/UpdateDriver.h"
#include "app/update/UpdateItem.h"

#include <QString>

#include <optional>

namespace kivo {

// An updater that does only what a test tells it: each `fire...` delivers one callback at once.
class SimulatedUpdateDriver : public UpdateDriver {
public:
    void start(KivoUpdaterDelegate& updaterDelegate, KivoUserDriverDelegate& userDriverDelegate) override;
    bool canCheckForUpdates() const override { return updaterDelegate_ != nullptr; }
    void checkForUpdates() override { ++checks_; }

    bool isStarted() const { return updaterDelegate_ != nullptr; }
    int checks() const { return checks_; }

    QString feedURL() const;
    void fireAbort(const ReportedError& error);
    void fireDownloadFailed(const UpdateItem& item, const ReportedError& error);
    void fireDownloaded(const UpdateItem& item);
    void fireExtracted(const UpdateItem& item);
    void fireWillInstall(const UpdateItem& item);
    void fireCycleFinished(const std::optional<ReportedError>& error);
    void fireSessionEnding();

private:
    KivoUpdaterDelegate* updaterDelegate_ = nullptr;
    KivoUserDriverDelegate* userDriverDelegate_ = nullptr;
    int checks_ = 0;
};

} // namespace kivo
