#include "ui/shield/ShieldVeil.h"

#include "app/shield/ShieldOverlayController.h"
#include "ui/components/CountdownRing.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace kivo {

namespace {
constexpr int kRingSize = 180;
constexpr int kSpacing = 32;
} // namespace

ShieldVeil::ShieldVeil(ShieldOverlayController& controller, bool isPrimary, bool opaque,
                       std::function<void()> onEscape, const Texts& texts)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::BypassWindowManagerHint),
      controller_(controller), isPrimary_(isPrimary), opaque_(opaque), onEscape_(std::move(onEscape)),
      texts_(texts) {
    setObjectName(isPrimary ? QStringLiteral("shieldPrimary") : QStringLiteral("shieldVeil"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    if (!opaque_)
        setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(texts.name);
    setCursor(Qt::ArrowCursor);
    if (isPrimary_) {
        // White on the dark veil: the track is the ring's faint placeholder shade, the digits its text.
        ring_ = new CountdownRing(Qt::white, kRingSize, this);
        QPalette white = ring_->palette();
        white.setColor(QPalette::WindowText, Qt::white);
        white.setColor(QPalette::PlaceholderText, Qt::white);
        ring_->setPalette(white);
        cancel_ = new QPushButton(texts.cancel, this);
        cancel_->setObjectName(QStringLiteral("shieldCancel"));
        cancel_->setMinimumSize(140, 40);
        cancel_->setStyleSheet(
            QStringLiteral("QPushButton { color: white; background: rgba(255,255,255,0.16); border: 1px "
                           "solid rgba(255,255,255,0.5);"
                           " border-radius: 8px; padding: 6px 18px; font-size: 15px; }"
                           "QPushButton:pressed { background: rgba(255,255,255,0.3); }"));
        connect(cancel_, &QPushButton::clicked, this, [this] { controller_.dismiss(false); });
        auto* layout = new QVBoxLayout(this);
        layout->setSpacing(0);
        layout->addStretch(1);
        layout->addWidget(ring_, 0, Qt::AlignHCenter);
        layout->addSpacing(kSpacing);
        layout->addWidget(cancel_, 0, Qt::AlignHCenter);
        layout->addStretch(1);
        connect(&controller_, &ShieldOverlayController::countdownStateChanged, this,
                &ShieldVeil::onCountdownChanged);
        onCountdownChanged();
    }
}

QColor ShieldVeil::veilColor() const {
    // Without a compositor an alpha channel is drawn as garbage or ignored: use a near-black that looks
    // the same as the veil would over a dark desktop.
    return opaque_ ? QColor(18, 18, 18) : QColor(0, 0, 0, qRound(0.85 * 255));
}

void ShieldVeil::onCountdownChanged() {
    const auto& state = controller_.countdownState();
    cancel_->setVisible(state.has_value());
    ring_->setVisible(state.has_value());
    if (!state)
        return;
    ring_->setState(*state);
    ring_->setAccessibleTexts(texts_.countdown, texts_.remainingSeconds
                                                    ? texts_.remainingSeconds(state->remainingSeconds)
                                                    : QString());
}

void ShieldVeil::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(rect(), veilColor());
}

void ShieldVeil::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        // Escape takes the veils down: run a copy, as the handler may be dropped on the way.
        if (auto escape = onEscape_)
            escape();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ShieldVeil::closeEvent(QCloseEvent* event) {
    // Only the shield ends the shield.
    if (!closing_)
        event->ignore();
}

void ShieldVeil::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!closing_)
        emit hiddenFromOutside();
}

} // namespace kivo
