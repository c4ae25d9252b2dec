#include "desktop/DesktopSupport.h"

#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace kivo::test {

std::optional<QString> runOnDesktop(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    const bool ended = waitOnDesktop([&] { return p.state() == QProcess::NotRunning; });
    if (!ended || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " " << arguments.join(' ').toStdString()
                      << " failed: " << p.readAllStandardError().toStdString();
        return std::nullopt;
    }
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

std::vector<QRect> xHeads() {
    std::vector<QRect> heads;
    static const QRegularExpression head(QStringLiteral(R"(head #\d+: (\d+)x(\d+) @ (\d+),(\d+))"));
    const QString info = runOnDesktop(QStringLiteral("xdpyinfo"), {"-ext", "XINERAMA"}).value_or(QString());
    for (auto it = head.globalMatch(info); it.hasNext();) {
        const auto m = it.next();
        heads.emplace_back(m.captured(3).toInt(), m.captured(4).toInt(), m.captured(1).toInt(),
                           m.captured(2).toInt());
    }
    return heads;
}

QRect xGeometry(const QWidget& window) {
    const QString info = runOnDesktop(QStringLiteral("xwininfo"), {"-id", QString::number(window.winId())})
                             .value_or(QString());
    const auto field = [&](const char* name) {
        const QRegularExpression line(QString::fromLatin1(name) + QStringLiteral(R"(:\s+(-?\d+))"));
        return line.match(info).captured(1).toInt();
    };
    return {field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height")};
}

} // namespace kivo::test
