#include "desktop/DesktopSupport.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace kivo::test {

bool xdotool(const QStringList& arguments) {
    QProcess p;
    p.start(QStringLiteral("xdotool"), arguments);
    const bool ended = waitOnDesktop([&] { return p.state() == QProcess::NotRunning; });
    if (!ended || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << "xdotool " << arguments.join(' ').toStdString()
                      << " failed: " << p.readAllStandardError().toStdString();
        return false;
    }
    return true;
}

} // namespace kivo::test
