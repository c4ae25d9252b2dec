#include "platform/linux/PackageManagerUpdateDriver.h"

#include "app/update/KivoUpdaterDelegate.h"
#include "core/Log.h"

#include <QPointer>
#include <QTimer>

namespace kivo {

void PackageManagerUpdateDriver::start(KivoUpdaterDelegate& updaterDelegate, KivoUserDriverDelegate&) {
    updaterDelegate_ = &updaterDelegate;
    qCInfo(lcUpdate, "Updates come from the package manager");
}

void PackageManagerUpdateDriver::checkForUpdates() {
    if (!updaterDelegate_) {
        return;
    }
    // Callbacks never arrive inside the call that asked for them.
    QPointer<KivoUpdaterDelegate> delegate(updaterDelegate_);
    QTimer::singleShot(0, updaterDelegate_, [delegate] {
        if (delegate) {
            delegate->didFinishUpdateCycle(std::nullopt);
        }
    });
}

} // namespace kivo
