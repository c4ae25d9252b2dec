#include "ui/rules/RedirectSection.h"

#include "app/LocalizedStrings.h"
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
                                 const std::string& url, std::function<void()> onHeaderClicked,
                                 std::function<std::string(const QString&)> applyURL) {
    namespace C = Strings::Common;
    column->addWidget(captionLabel(context.text(C::Section::detail()), owner));
    header_ = new AccordionHeader(context.text(C::Redirect::header()), false, owner);
    column->addWidget(header_);
    // The draft decides whether the section is open (a failed save opens it too); show() follows it.
    QObject::connect(header_, &QAbstractButton::clicked, owner, std::move(onHeaderClicked));
    body_ = new QWidget(owner);
    bodyColumn_ = new QVBoxLayout(body_);
    bodyColumn_->setContentsMargins(0, 0, 0, 0);
    column->addWidget(body_);

    urlPart_ = new QWidget(body_);
    urlColumn_ = new QVBoxLayout(urlPart_);
    urlColumn_->setContentsMargins(0, 0, 0, 0);
    field_ = new QLineEdit(fromStd(url), urlPart_);
    field_->setPlaceholderText(QStringLiteral("https://example.com/focus"));
    auto* status = new QHBoxLayout;
    error_ = errorLabel(urlPart_);
    counter_ = captionLabel(QString(), urlPart_);
    status->addWidget(error_, 1);
    status->addStretch();
    status->addWidget(counter_);
    urlColumn_->addWidget(field_);
    urlColumn_->addLayout(status);
    bindText(field_, applyURL);
}

void RedirectSection::show(bool expanded, bool urlShown, const std::optional<std::string>& error,
                           std::size_t length, std::size_t limit) {
    body_->setVisible(expanded);
    header_->setExpanded(expanded);
    urlPart_->setVisible(urlShown);
    showError(error_, error);
    counter_->setText(QStringLiteral("%1 / %2").arg(length).arg(limit));
}

} // namespace kivo
