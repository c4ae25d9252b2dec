#include "ui/sheets/QuitConfirmationSheet.h"

#include "app/language/LocalizedStrings.h"
#include "app/sheets/QuitConfirmationFlow.h"
#include "ui/UiContext.h"
#include "ui/components/CountdownConfirmPanel.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace kivo {

QuitConfirmationSheet::QuitConfirmationSheet(QuitConfirmationFlow& flow, const UiContext& ui, QWidget* parent)
    : QDialog(parent), flow_(flow),
      panel_(new CountdownConfirmPanel(ui, palette().color(QPalette::Highlight),
                                       new QPushButton(ui.text(Strings::Common::cancel())),
                                       new QPushButton(ui.text(Strings::Quit::confirm())))) {
    setObjectName(QStringLiteral("quitSheet"));
    setMinimumSize(400, 320);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(32, 32, 32, 32);
    column->addWidget(panel_);
    confirmButton()->setDefault(true);

    connect(cancelButton(), &QPushButton::clicked, this, [this] { flow_.cancel(); });
    connect(confirmButton(), &QPushButton::clicked, this, [this] { flow_.confirm(); });
    connect(&flow_, &QuitConfirmationFlow::stateChanged, this, &QuitConfirmationSheet::refresh);
    refresh();
}

QPushButton* QuitConfirmationSheet::confirmButton() const {
    return panel_->confirmButton();
}

QPushButton* QuitConfirmationSheet::cancelButton() const {
    return panel_->cancelButton();
}

void QuitConfirmationSheet::refresh() {
    if (const auto& counting = flow_.state().countdown()) {
        panel_->showCountdown(*counting);
    } else {
        panel_->showIdle();
    }
}

} // namespace kivo
