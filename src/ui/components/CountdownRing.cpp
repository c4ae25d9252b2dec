#include "ui/components/CountdownRing.h"

#include <QAccessibleWidget>
#include <QPainter>

namespace kivo {

namespace {

// Read as a text that says what it counts, with the seconds left as its description, not as an empty pane.
QAccessibleInterface* ringInterface(const QString& className, QObject* object) {
    if (className == QLatin1String("kivo::CountdownRing") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::StaticText);
    return nullptr;
}

void paintRing(QPainter& p, const QRectF& box, double progress, qint64 remainingSeconds, const QColor& track,
               const QColor& arc, const QColor& digits, int digitsPixelSize) {
    constexpr qreal lineWidth = 8;
    const QRectF ring = box.adjusted(lineWidth / 2, lineWidth / 2, -lineWidth / 2, -lineWidth / 2);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(track, lineWidth, Qt::SolidLine, Qt::FlatCap));
    p.drawEllipse(ring);
    if (progress > 0) {
        p.setPen(QPen(arc, lineWidth, Qt::SolidLine, Qt::RoundCap));
        // Qt angles run counter-clockwise from three o'clock in 1/16 degree: start at twelve, go clockwise.
        p.drawArc(ring, 90 * 16, -static_cast<int>(std::min(progress, 1.0) * 360 * 16));
    }
    QFont font = p.font();
    font.setPixelSize(digitsPixelSize);
    font.setWeight(QFont::Light);
    p.setFont(font);
    p.setPen(digits);
    p.drawText(box, Qt::AlignCenter, QString::number(remainingSeconds));
    p.restore();
}

} // namespace

CountdownRing::CountdownRing(QColor tint, int size, QWidget* parent)
    : QWidget(parent), tint_(std::move(tint)), size_(size) {
    static const bool readable = [] {
        QAccessible::installFactory(ringInterface);
        return true;
    }();
    Q_UNUSED(readable);
    setFixedSize(size, size);
    animation_.setDuration(1000);
    animation_.setEasingCurve(QEasingCurve::Linear);
    connect(&animation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        shownProgress_ = v.toDouble();
        update();
    });
}

void CountdownRing::setState(const ShieldCountdownState& state) {
    const bool restarted = state.remainingSeconds > state_.remainingSeconds || state_.totalSeconds == 0;
    state_ = state;
    const double target = state.progress();
    animation_.stop();
    if (restarted || !isVisible()) {
        shownProgress_ = target;
        update();
        return;
    }
    animation_.setStartValue(shownProgress_);
    animation_.setEndValue(target);
    animation_.start();
    update();
}

void CountdownRing::setAccessibleTexts(const QString& label, const QString& value) {
    setAccessibleName(label);
    setAccessibleDescription(value);
}

void CountdownRing::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QColor track = palette().color(QPalette::PlaceholderText);
    track.setAlphaF(0.2);
    paintRing(p, QRectF(rect()), shownProgress_, state_.remainingSeconds, track, tint_,
              palette().color(QPalette::WindowText), size_ * 48 / 160);
}

} // namespace kivo
