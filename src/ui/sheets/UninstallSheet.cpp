#include "ui/sheets/UninstallSheet.h"

#include "app/language/LocalizedStrings.h"
#include "app/sheets/UninstallFlow.h"
#include "ui/UiContext.h"
#include "ui/components/DestructiveWarningPanel.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace kivo {

UninstallSheet::UninstallSheet(UninstallFlow& flow, const UiContext& ui, const QString& message,
                               QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("uninstallSheet"));
    setMinimumWidth(420);
    auto* confirm = new QPushButton(ui.text(Strings::Uninstall::confirm()));
    confirm->setStyleSheet(QStringLiteral("QPushButton:enabled { color: #c62828; font-weight: 600; }"));
    warning_ = new DestructiveWarningPanel(DestructiveWarningPanel::Icon::trash,
                                           ui.text(Strings::Uninstall::warningTitle()), message,
                                           ui.text(Strings::Common::cancel()), confirm);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(24, 24, 24, 24);
    outer->addWidget(warning_);
    connect(warning_, &DestructiveWarningPanel::cancelled, this, [&flow] { flow.cancel(); });
    connect(confirm, &QPushButton::clicked, this, [&flow] { flow.confirm(); });
}

} // namespace kivo
