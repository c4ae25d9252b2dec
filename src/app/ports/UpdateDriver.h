#pragma once

namespace kivo {

class KivoUpdaterDelegate;
class KivoUserDriverDelegate;

// The software-update machinery. Once started it calls the two delegates, on the main thread, as an
// update check, download, extraction and install go along.
class UpdateDriver {
public:
    virtual ~UpdateDriver() = default;

    virtual void start(KivoUpdaterDelegate& updaterDelegate, KivoUserDriverDelegate& userDriverDelegate) = 0;
    // Whether a check can be offered to the user now.
    virtual bool canCheckForUpdates() const = 0;
    virtual void checkForUpdates() = 0;
};

} // namespace kivo
