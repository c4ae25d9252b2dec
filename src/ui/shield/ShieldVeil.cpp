#include "ui/shield/ShieldVeil.h"

#include "app/shield/ShieldOverlayController.h"
#include "ui/components/CountdownRing.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace kivo {

namespace {
constexpr int kRingSize = 180;
constexpr int kSpacing = 32;
} // namespace

ShieldVeil::ShieldVeil(ShieldOverlayController& controller, bool isPrimary, bool opaque,
                       std::function<void()> onEscape, const Texts& texts)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      controller_(controller), isPrimary_(isPrimary), opaque_(opaque), onEscape_(std::move(onEscape)) {
    setObjectName(isPrimary ? QStringLiteral("shieldPrimary") : QStringLiteral("shieldVeil"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    if (!opaque_)
        setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(texts.name);
    setCursor(Qt::ArrowCursor);
    arc_.setDuration(1000);
    arc_.setEasingCurve(QEasingCurve::Linear);
    connect(&arc_, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        shownProgress_ = v.toDouble();
        update();
    });
    if (isPrimary_) {
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
        layout->addStretch(1);
        layout->addSpacing(kRingSize + kSpacing);
        layout->addWidget(cancel_, 0, Qt::AlignHCenter);
        layout->addStretch(1);
        connect(&controller_, &ShieldOverlayController::countdownStateChanged, this,
                &ShieldVeil::onCountdownChanged);
        if (const auto& state = controller_.countdownState())
            shownProgress_ = state->progress();
    }
}

QColor ShieldVeil::veilColor() const {
    // Without a compositor an alpha channel is drawn as garbage or ignored: use a near-black that looks
    // the same as the veil would over a dark desktop.
    return opaque_ ? QColor(18, 18, 18) : QColor(0, 0, 0, qRound(0.85 * 255));
}

void ShieldVeil::onCountdownChanged() {
    const auto& state = controller_.countdownState();
    if (!state) {
        if (cancel_)
            cancel_->hide();
        update();
        return;
    }
    arc_.stop();
    arc_.setStartValue(shownProgress_);
    arc_.setEndValue(state->progress());
    arc_.start();
    update();
}

void ShieldVeil::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(rect(), veilColor());
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const auto& state = controller_.countdownState();
    if (!isPrimary_ || !state)
        return;
    const int buttonHeight = cancel_ ? cancel_->sizeHint().height() : 0;
    const int top = (height() - (kRingSize + kSpacing + buttonHeight)) / 2;
    const QRectF box((width() - kRingSize) / 2.0, top, kRingSize, kRingSize);
    CountdownRing::paint(p, box, shownProgress_, state->remainingSeconds, QColor(255, 255, 255, 51),
                         Qt::white, Qt::white, 56);
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
