#include "app/errors/CrashRecords.h"
#include "app/errors/ErrorReporter.h"
#include "app/errors/ErrorReportingOptions.h"
#include "app/language/LanguageController.h"
#include "app/shell/SingleInstance.h"
#include "app/shield/ShieldOverlayController.h"
#include "core/QtTimerFactory.h"
#include "core/SystemClock.h"
#include "platform/linux/CombinedSessionLock.h"
#include "platform/linux/CrashRecorder.h"
#include "platform/linux/DesktopSession.h"
#include "platform/linux/FreedesktopTrash.h"
#include "platform/linux/LinuxActivationPolicy.h"
#include "platform/linux/LinuxBrightnessBackend.h"
#include "platform/linux/LinuxBrowserPlatform.h"
#include "platform/linux/LinuxInstallation.h"
#include "platform/linux/LogindSessionLock.h"
#include "platform/linux/LogindShutdownSource.h"
#include "platform/linux/LogindWakeSource.h"
#include "platform/linux/PackageManagerUpdateDriver.h"
#include "platform/linux/QtScreenChangeSource.h"
#include "platform/linux/TerminationSignals.h"
#include "platform/linux/XScreenSaverLock.h"
#include "platform/linux/XdgAutostartLoginItem.h"
#include "settings/FileDefaultsStore.h"
#include "ui/shell/DesktopShell.h"

#include <QApplication>
#include <QMessageBox>

#include <memory>
#include <vector>

using namespace kivo;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kivo"));
    QApplication::setApplicationVersion(QStringLiteral(KIVO_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("app.kivo.Kivo"));
    // Closing the window puts it away; Kivo lives on in the tray.
    QApplication::setQuitOnLastWindowClosed(false);
    CrashRecorder::install(CrashRecords::standardDirectory());

    SingleInstance instance(SingleInstance::defaultDirectory());
    switch (instance.start()) {
    case SingleInstance::Role::handedOver:
        return 0;
    case SingleInstance::Role::failed: {
        // Started from a menu there is no terminal to read: say it in a window too.
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Kivo"),
                        QStringLiteral("Kivo cannot start: %1.").arg(instance.errorString()));
        box.setTextFormat(Qt::PlainText);
        box.exec();
        return 1;
    }
    case SingleInstance::Role::primary:
        break;
    }

    SystemClock clock;
    ErrorReporter errors(clock);

    QtTimerFactory timers;
    FileDefaultsStore defaults(FileDefaultsStore::standardDirectory());
    LogindWakeSource wake;
    QtScreenChangeSource displayChanges;
    auto browsers = LinuxBrowserPlatform::create();
    XdgAutostartLoginItem loginItem(XdgAutostartLoginItem::standardDirectory(),
                                    QApplication::applicationFilePath());
    LinuxActivationPolicy activationPolicy;
    FreedesktopTrash trash;
    const LinuxInstallation installation = LinuxInstallation::forRunningProgram();
    PackageManagerUpdateDriver updates;
    // Made before the shell, which follows them: a screen locker's lock wins over the shield, whether
    // logind's news starts it or the X server's screen saver turning on after the idle time.
    LogindSessionLock logindLock;
    std::vector<SessionLockSource*> lockSources{&logindLock};
    std::unique_ptr<XScreenSaverLock> idleLock;
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        idleLock = std::make_unique<XScreenSaverLock>();
        lockSources.push_back(idleLock.get());
    }
    CombinedSessionLock sessionLock(lockSources);

    DesktopShell shell({defaults, clock, timers, LinuxBrightnessBackend::make(), wake, displayChanges,
                        browsers->ports(), browsers->settingsOpener(), loginItem, trash, installation,
                        updates, errors, LanguageController::systemPreferredLanguages(),
                        QApplication::applicationVersion()},
                       activationPolicy);

    shell.delegate().overlayController().followSessionLock(sessionLock);
    if (idleLock) {
        shell.delegate().overlayController().followUserIdle(*idleLock);
    }

    // Error reporting starts once the delegate exists, as the application's initialiser does it.
    errors.start(ErrorReportingOptions::kivoDefaults());
    // Only the running instance reads them: a start that hands over leaves them for it.
    CrashRecords::reportAndRemove(CrashRecords::standardDirectory(), errors);

    QObject::connect(&instance, &SingleInstance::reopenRequested, &shell,
                     [&shell] { shell.delegate().applicationShouldHandleReopen(); });
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &shell,
                     [&shell](TerminationReason reason) { shell.requestTermination(reason); });
    LogindShutdownSource shutdown;
    QObject::connect(&shutdown, &LogindShutdownSource::shutdownStarting, &shell,
                     [&shell] { shell.requestTermination(TerminationReason::shutdown); });
    DesktopSession session;
    QObject::connect(&session, &DesktopSession::sessionEnding, &shell,
                     [&shell] { shell.requestTermination(TerminationReason::logOut); });

    shell.launch();
    return QApplication::exec();
}
