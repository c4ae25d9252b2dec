#include "LaunchedScene.h"

#include "ui/shell/DesktopShell.h"
#include "ui/shell/MainWindow.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>

#include <algorithm>
#include <cstdio>

// Photographs every window, sheet and shield state in each interface language, with simulated back
// ends: `kivo_screenshots OUTPUT-DIRECTORY`.

using namespace kivo;

namespace {

void settle(int milliseconds) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// A sheet is drawn where it hangs: over the top of its window, which is dimmed a little behind it. A
// sheet taller or wider than its window is drawn whole: the picture grows to hold it.
QImage photograph(QWidget* widget, QWidget* window) {
    auto* sheet = qobject_cast<QDialog*>(widget);
    if (!sheet)
        return widget->grab().toImage();
    sheet->adjustSize();
    const QImage back = window->grab().toImage();
    const QImage front = sheet->grab().toImage();
    constexpr int kTop = 24;
    const QSize size(std::max(back.width(), front.width() + 2 * kTop),
                     std::max(back.height(), front.height() + 2 * kTop));
    QImage picture(size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(window->palette().color(QPalette::Window));
    QPainter p(&picture);
    p.drawImage(QPoint((size.width() - back.width()) / 2, 0), back);
    p.fillRect(picture.rect(), QColor(0, 0, 0, 60));
    const QPoint at((picture.width() - front.width()) / 2, kTop);
    p.fillRect(QRect(at + QPoint(2, 3), front.size()), QColor(0, 0, 0, 70));
    p.drawImage(at, front);
    return picture;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("build/screenshots");
    int written = 0, failed = 0;
    for (const auto language : LanguagePreference::allCases()) {
        const QString folder =
            out + "/" +
            QString::fromLatin1(language.localeIdentifier().data(),
                                static_cast<qsizetype>(language.localeIdentifier().size()));
        QDir().mkpath(folder);
        for (const auto& scene : allScenes()) {
            LaunchedScene launched(scene, language);
            settle(150);
            QWidget* subject = launched.setUp(scene);
            settle(1100); // a countdown ring eases to its place over a second
            const QString path = folder + "/" + QString::fromStdString(scene.name) + ".png";
            if (!subject || !photograph(subject, &launched.shell->mainWindow()).save(path)) {
                std::fprintf(stderr, "screenshots: %s failed\n", qUtf8Printable(path));
                ++failed;
                continue;
            }
            ++written;
        }
    }
    std::printf("screenshots: %d pictures in %s\n", written, qUtf8Printable(out));
    return failed == 0 ? 0 : 1;
}
