#include "ui/sheets/EraseAllDataSheet.h"

#include "app/language/LocalizedStrings.h"
#include "app/sheets/EraseAllDataFlow.h"
#include "ui/UiContext.h"
#include "ui/components/CountdownConfirmPanel.h"
#include "ui/components/DestructiveWarningPanel.h"

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
    : QDialog(parent), flow_(flow), stages_(new QStackedLayout),
      warning_(new DestructiveWarningPanel(
          DestructiveWarningPanel::Icon::warning, ui.text(Strings::Erase::warningTitle()),
          ui.text(Strings::Erase::warningMessage()), ui.text(Strings::Common::cancel()),
          destructiveButton(ui.text(Strings::Common::continue_())))),
      countdown_(new CountdownConfirmPanel(ui, QColor(0xd3, 0x2f, 0x2f),
                                           new QPushButton(ui.text(Strings::Common::cancel())),
                                           destructiveButton(ui.text(Strings::Erase::confirm())))) {
    setObjectName(QStringLiteral("eraseSheet"));
    setMinimumWidth(400);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(24, 24, 24, 24);
    outer->addLayout(stages_);

    stages_->addWidget(warning_);
    stages_->addWidget(countdown_);

    connect(warning_, &DestructiveWarningPanel::cancelled, this, [this] { flow_.cancel(); });
    connect(warning_->confirmButton(), &QPushButton::clicked, this, [this] { flow_.continueToCountdown(); });
    connect(eraseButton(), &QPushButton::clicked, this, [this] { flow_.confirm(); });
    connect(countdownCancelButton(), &QPushButton::clicked, this, [this] { flow_.cancel(); });
    connect(&flow_, &EraseAllDataFlow::stageChanged, this, &EraseAllDataSheet::refresh);
    refresh();
}

void EraseAllDataSheet::refresh() {
    const auto& stage = flow_.stage();
    if (const auto* countdown = stage.countdown(); countdown && countdown->countdown()) {
        stages_->setCurrentWidget(countdown_);
        countdown_->showCountdown(*countdown->countdown());
    } else {
        stages_->setCurrentWidget(warning_);
        countdown_->showIdle();
    }
}

QPushButton* EraseAllDataSheet::eraseButton() const {
    return countdown_->confirmButton();
}

QPushButton* EraseAllDataSheet::countdownCancelButton() const {
    return countdown_->cancelButton();
}

} // namespace kivo
