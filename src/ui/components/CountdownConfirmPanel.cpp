#include "ui/components/CountdownConfirmPanel.h"

#include "app/language/LocalizedStrings.h"
#include "ui/UiContext.h"
#include "ui/components/CountdownRing.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace kivo {

CountdownConfirmPanel::CountdownConfirmPanel(const UiContext& ui, QColor ringTint, QPushButton* cancel,
                                             QPushButton* confirm, QWidget* parent)
    : QWidget(parent), ui_(ui), ring_(new CountdownRing(ringTint, 160)), cancel_(cancel), confirm_(confirm) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(24);
    column->addWidget(ring_, 0, Qt::AlignHCenter);
    auto* row = new QHBoxLayout;
    row->setSpacing(12);
    row->addStretch(1);
    row->addWidget(cancel_);
    row->addWidget(confirm_);
    row->addStretch(1);
    column->addLayout(row);
}

void CountdownConfirmPanel::showCountdown(const ShieldCountdownState& state) {
    ring_->setState(state);
    ring_->setAccessibleTexts(ui_.text(Strings::Shield::A11y::countdown()),
                              ui_.text(Strings::Shield::A11y::remainingSeconds(state.remainingSeconds)));
    confirm_->setEnabled(state.remainingSeconds == 0);
}

void CountdownConfirmPanel::showIdle() {
    confirm_->setEnabled(false);
}

} // namespace kivo
