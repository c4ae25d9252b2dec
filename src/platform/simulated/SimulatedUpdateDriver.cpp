#include "platform/simulated/SimulatedUpdateDriver.h"

#include "app/update/KivoUpdaterDelegate.h"
#include "app/update/KivoUserDriverDelegate.h"

namespace kivo {

void SimulatedUpdateDriver::start(KivoUpdaterDelegate& updaterDelegate,
                                  KivoUserDriverDelegate& userDriverDelegate) {
    updaterDelegate_ = &updaterDelegate;
    userDriverDelegate_ = &userDriverDelegate;
}

QString SimulatedUpdateDriver::feedURL() const {
    return updaterDelegate_ ? updaterDelegate_->feedURLString() : QString();
}

void SimulatedUpdateDriver::fireAbort(const ReportedError& error) {
    updaterDelegate_->didAbortWithError(error);
}

void SimulatedUpdateDriver::fireDownloadFailed(const UpdateItem& item, const ReportedError& error) {
    updaterDelegate_->failedToDownloadUpdate(item, error);
}

void SimulatedUpdateDriver::fireDownloaded(const UpdateItem& item) {
    updaterDelegate_->didDownloadUpdate(item);
}

void SimulatedUpdateDriver::fireExtracted(const UpdateItem& item) {
    updaterDelegate_->didExtractUpdate(item);
}

void SimulatedUpdateDriver::fireWillInstall(const UpdateItem& item) {
    updaterDelegate_->willInstallUpdate(item);
}

void SimulatedUpdateDriver::fireCycleFinished(const std::optional<ReportedError>& error) {
    updaterDelegate_->didFinishUpdateCycle(error);
}

void SimulatedUpdateDriver::fireSessionEnding() {
    userDriverDelegate_->standardUserDriverWillFinishUpdateSession();
}

} // namespace kivo
