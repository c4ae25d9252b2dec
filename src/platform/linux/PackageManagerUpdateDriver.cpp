#include "platform/linux/PackageManagerUpdateDriver.h"

#include "app/update/KivoUpdaterDelegate.h"
#include "core/Log.h"

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
    auto* delegate = updaterDelegate_.data();
    QTimer::singleShot(0, delegate, [delegate] { delegate->didFinishUpdateCycle(std::nullopt); });
}

} // namespace kivo
