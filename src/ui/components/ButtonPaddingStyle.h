#pragma once

#include <QProxyStyle>

class QFontMetrics;

namespace kivo {

// The platform's style with room beside every push button's label. Some styles (Fusion among them) leave
// a few pixels there, so a long label, a bold one or one in a CJK font touches the button's frame; where
// the style already gives more, it is left as it is.
class ButtonPaddingStyle : public QProxyStyle {
    Q_OBJECT
public:
    // Puts the style under the whole application, once: later calls leave it.
    static void install();

    // The least room on each side of a label set in `metrics`' font, inside the frame.
    static int labelPadding(const QFontMetrics& metrics);

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contents,
                           const QWidget* widget) const override;
};

} // namespace kivo
