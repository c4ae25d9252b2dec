#include "ui/components/ButtonPaddingStyle.h"

#include <QApplication>
#include <QFontMetrics>
#include <QStyleOption>

#include <algorithm>

namespace kivo {

void ButtonPaddingStyle::install() {
    if (qobject_cast<ButtonPaddingStyle*>(QApplication::style()) == nullptr) {
        // No base given: the proxy builds the style the application would have had (a -style argument
        // or the desktop's).
        QApplication::setStyle(new ButtonPaddingStyle);
    }
}

int ButtonPaddingStyle::labelPadding(const QFontMetrics& metrics) {
    // Two thirds of a line: it grows with the font, as the label does.
    return metrics.height() * 2 / 3;
}

QSize ButtonPaddingStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                           const QSize& contents, const QWidget* widget) const {
    QSize size = QProxyStyle::sizeFromContents(type, option, contents, widget);
    if (type == CT_PushButton && option != nullptr) {
        const int frame = pixelMetric(PM_DefaultFrameWidth, option, widget);
        size.setWidth(
            std::max(size.width(), contents.width() + 2 * (frame + labelPadding(option->fontMetrics))));
    }
    return size;
}

} // namespace kivo
