#include "ui/sheets/EraseAllDataSheet.h"

#include "app/EraseAllDataFlow.h"
#include "app/LocalizedStrings.h"
#include "ui/UiContext.h"
#include "ui/components/CountdownRing.h"
#include "ui/components/DestructiveWarningPanel.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace kivo {

namespace {

QPushButton* destructiveButton(const QString& text) {
    auto* button = new QPushButton(text);
    button->setStyleSheet(QStringLiteral("QPushButton:enabled { color: #c62828; font-weight: 600; }"));
    return button;
}

} // namespace

EraseAllDataSheet::EraseAllDataSheet(EraseAllDataFlow& flow, const UiContext& ui, QWidget* parent)
    : QDialog(parent), flow_(flow), ui_(ui), stages_(new QStackedLayout),
      warning_(new DestructiveWarningPanel(
          DestructiveWarningPanel::Icon::warning, ui.text(Strings::Erase::warningTitle()),
          ui.text(Strings::Erase::warningMessage()), ui.text(Strings::Common::cancel()),
          destructiveButton(ui.text(Strings::Common::continue_())))),
      countdownPage_(new QWidget), ring_(new CountdownRing(QColor(0xd3, 0x2f, 0x2f), 160)),
      cancel_(new QPushButton(ui.text(Strings::Common::cancel()))),
      erase_(destructiveButton(ui.text(Strings::Erase::confirm()))) {
    setObjectName(QStringLiteral("eraseSheet"));
    setMinimumWidth(400);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(24, 24, 24, 24);
    outer->addLayout(stages_);

    auto* column = new QVBoxLayout(countdownPage_);
    column->setSpacing(24);
    column->addWidget(ring_, 0, Qt::AlignHCenter);
    auto* row = new QHBoxLayout;
    row->setSpacing(12);
    row->addStretch(1);
    row->addWidget(cancel_);
    row->addWidget(erase_);
    row->addStretch(1);
    column->addLayout(row);

    stages_->addWidget(warning_);
    stages_->addWidget(countdownPage_);

    connect(warning_, &DestructiveWarningPanel::cancelled, this, [this] { flow_.cancel(); });
    connect(warning_->confirmButton(), &QPushButton::clicked, this, [this] { flow_.continueToCountdown(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { flow_.cancel(); });
    connect(erase_, &QPushButton::clicked, this, [this] { flow_.confirm(); });
    connect(&flow_, &EraseAllDataFlow::stageChanged, this, &EraseAllDataSheet::refresh);
    refresh();
}

void EraseAllDataSheet::refresh() {
    const auto& stage = flow_.stage();
    if (const auto* countdown = stage.countdown(); countdown && countdown->countdown()) {
        const auto& state = *countdown->countdown();
        stages_->setCurrentWidget(countdownPage_);
        ring_->setState(state);
        ring_->setAccessibleTexts(ui_.text(Strings::Shield::A11y::countdown()),
                                  ui_.text(Strings::Shield::A11y::remainingSeconds(state.remainingSeconds)));
        erase_->setEnabled(state.remainingSeconds == 0);
    } else {
        stages_->setCurrentWidget(warning_);
        erase_->setEnabled(false);
    }
}

} // namespace kivo
