#include "ui/components/MaxLengthLimiter.h"

#include "domain/Text.h"

#include <QInputMethodEvent>
#include <QLineEdit>

#include <algorithm>

namespace kivo {

MaxLengthLimiter::MaxLengthLimiter(QLineEdit* edit, int limit)
    : QObject(edit), edit_(edit), limit_(std::max(0, limit)) {
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textChanged, this, [this] {
        if (!composing_)
            enforce();
    });
}

std::optional<QString> MaxLengthLimiter::cut(const QString& text, int limit) {
    const QByteArray utf8 = text.toUtf8();
    const auto clusters = Text::graphemeClusterViews(std::string_view(utf8.constData(), utf8.size()));
    if (clusters.size() <= static_cast<std::size_t>(std::max(0, limit)))
        return std::nullopt;
    std::size_t bytes = 0;
    for (int i = 0; i < limit; ++i)
        bytes += clusters[i].size();
    return QString::fromUtf8(utf8.constData(), static_cast<qsizetype>(bytes));
}

bool MaxLengthLimiter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::InputMethod) {
        const auto* ime = static_cast<QInputMethodEvent*>(event);
        const bool wasComposing = composing_;
        composing_ = !ime->preeditString().isEmpty();
        // The commit lands after this filter returns; check once the edit has taken it.
        if (wasComposing && !composing_)
            QMetaObject::invokeMethod(this, &MaxLengthLimiter::enforce, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void MaxLengthLimiter::enforce() {
    if (!edit_ || composing_)
        return;
    const auto shorter = cut(edit_->text(), limit_);
    if (!shorter)
        return;
    // The cut text is a prefix of the old one, so a cursor inside it still means the same place.
    const int cursor = std::min<int>(edit_->cursorPosition(), static_cast<int>(shorter->size()));
    edit_->setText(*shorter);
    edit_->setCursorPosition(cursor);
}

} // namespace kivo
