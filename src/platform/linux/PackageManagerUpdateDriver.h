#pragma once

#include "app/ports/UpdateDriver.h"
#include "app/update/KivoUpdaterDelegate.h"

#include <QPointer>

namespace kivo {

// On Linux Kivo is updated by the package manager that installed it, so this driver never offers or
// installs an update: a check simply ends its cycle with nothing found.
class PackageManagerUpdateDriver : public UpdateDriver {
public:
    void start(KivoUpdaterDelegate& updaterDelegate, KivoUserDriverDelegate& userDriverDelegate) override;
    bool canCheckForUpdates() const override { return false; }
    void checkForUpdates() override;

private:
    // Guarded: a check asked for after the delegate is gone does nothing.
    QPointer<KivoUpdaterDelegate> updaterDelegate_;
};

} // namespace kivo
