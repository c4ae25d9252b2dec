#include "ui/sheets/QuitConfirmationSheet.h"

#include "app/LocalizedStrings.h"
#include "app/QuitConfirmationFlow.h"
#include "ui/UiContext.h"
#include "ui/components/CountdownRing.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace kivo {

QuitConfirmationSheet::QuitConfirmationSheet(QuitConfirmationFlow& flow, const UiContext& ui, QWidget* parent)
    : QDialog(parent), flow_(flow), ui_(ui),
      ring_(new CountdownRing(palette().color(QPalette::Highlight), 160)),
      cancel_(new QPushButton(ui.text(Strings::Common::cancel()))),
      confirm_(new QPushButton(ui.text(Strings::Quit::confirm()))) {
    setObjectName(QStringLiteral("quitSheet"));
    setMinimumSize(400, 320);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(32, 32, 32, 32);
    column->setSpacing(24);
    column->addWidget(ring_, 0, Qt::AlignHCenter);
    auto* row = new QHBoxLayout;
    row->setSpacing(12);
    row->addStretch(1);
    row->addWidget(cancel_);
    row->addWidget(confirm_);
    row->addStretch(1);
    column->addLayout(row);
    confirm_->setDefault(true);

    connect(cancel_, &QPushButton::clicked, this, [this] { flow_.cancel(); });
    connect(confirm_, &QPushButton::clicked, this, [this] { flow_.confirm(); });
    connect(&flow_, &QuitConfirmationFlow::stateChanged, this, &QuitConfirmationSheet::refresh);
    refresh();
}

void QuitConfirmationSheet::refresh() {
    const auto& counting = flow_.state().countdown();
    if (counting) {
        ring_->setState(*counting);
        ring_->setAccessibleTexts(
            ui_.text(Strings::Shield::A11y::countdown()),
            ui_.text(Strings::Shield::A11y::remainingSeconds(counting->remainingSeconds)));
    }
    confirm_->setEnabled(counting.has_value() && counting->remainingSeconds == 0);
}

} // namespace kivo
