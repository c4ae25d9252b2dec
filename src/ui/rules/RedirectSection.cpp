#include "ui/rules/RedirectSection.h"

#include "app/language/LocalizedStrings.h"
#include "app/rules/RedirectDraft.h"
#include "ui/components/AccordionHeader.h"
#include "ui/screens/ScreenContext.h"
#include "ui/screens/ScreenWidgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kivo {

using namespace ScreenWidgets;

RedirectSection::RedirectSection(const ScreenContext& context, QVBoxLayout* column, QWidget* owner,
                                 RedirectDraft& draft, std::function<void()> edited)
    : draft_(draft) {
    namespace C = Strings::Common;
    column->addWidget(captionLabel(context.text(C::Section::detail()), owner));
    header_ = new AccordionHeader(context.text(C::Redirect::header()), false, owner);
    column->addWidget(header_);
    // The draft decides whether the section is open (a failed save opens it too); refresh() follows it.
    QObject::connect(header_, &QAbstractButton::clicked, owner, [this, edited] {
        draft_.setShowSection(!draft_.showSection());
        edited();
    });
    body_ = new QWidget(owner);
    bodyColumn_ = new QVBoxLayout(body_);
    bodyColumn_->setContentsMargins(0, 0, 0, 0);
    column->addWidget(body_);

    urlPart_ = new QWidget(body_);
    urlColumn_ = new QVBoxLayout(urlPart_);
    urlColumn_->setContentsMargins(0, 0, 0, 0);
    field_ = new QLineEdit(fromStd(draft_.urlString()), urlPart_);
    field_->setPlaceholderText(QStringLiteral("https://example.com/focus"));
    // No label stands beside the address: it is named after the section holding it.
    field_->setAccessibleName(header_->text());
    auto* status = new QHBoxLayout;
    error_ = errorLabel(urlPart_);
    counter_ = captionLabel(QString(), urlPart_);
    status->addWidget(error_, 1);
    status->addStretch();
    status->addWidget(counter_);
    urlColumn_->addWidget(field_);
    urlColumn_->addLayout(status);
    bindText(field_, [this, edited](const QString& text) {
        draft_.setURLString(toStd(text));
        edited();
        return draft_.urlString();
    });
}

void RedirectSection::refresh() {
    body_->setVisible(draft_.showSection());
    header_->setExpanded(draft_.showSection());
    urlPart_->setVisible(draft_.isUsed());
    showError(error_, draft_.error());
    counter_->setText(QStringLiteral("%1 / %2").arg(draft_.urlLength()).arg(RedirectDraft::urlLimit));
}

} // namespace kivo
