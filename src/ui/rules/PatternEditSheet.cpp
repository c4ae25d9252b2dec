#include "ui/rules/PatternEditSheet.h"

#include "app/LocalizedStrings.h"
#include "ui/components/DeleteConfirmation.h"
#include "ui/screens/ScreenContext.h"
#include "ui/screens/ScreenWidgets.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace kivo {

using namespace ScreenWidgets;

PatternEditSheet::PatternEditSheet(const ScreenContext& context, PatternEditPresenter presenter,
                                   QWidget* parent)
    : QDialog(parent), context_(context), presenter_(std::move(presenter)) {
    namespace P = Strings::Pattern;
    namespace C = Strings::Common;
    setWindowModality(Qt::WindowModal);
    ScreenWidgets::closeWithWindow(this);
    setFixedWidth(400);
    const bool block = presenter_.action() == RuleAction::block;
    auto* column = new QVBoxLayout(this);
    column->setSpacing(16);
    const LocalizedString& title = presenter_.isEditing()
                                       ? (block ? P::Title::editBlock() : P::Title::editAllow())
                                       : (block ? P::Title::addBlock() : P::Title::addAllow());
    column->addWidget(headline(context.text(title), this));

    column->addWidget(captionLabel(context.text(P::Section::pattern()), this));
    pattern_ = new QLineEdit(fromStd(presenter_.pattern()), this);
    pattern_->setPlaceholderText(QStringLiteral("*youtube.com/shorts/*"));
    column->addWidget(pattern_);
    auto* statusRow = new QHBoxLayout;
    status_ = captionLabel(QString(), this);
    status_->setWordWrap(true);
    counter_ = captionLabel(QString(), this);
    statusRow->addWidget(status_, 1);
    statusRow->addWidget(counter_);
    column->addLayout(statusRow);
    bindText(pattern_, [this](const QString& text) {
        presenter_.setPattern(toStd(text));
        refresh();
        return presenter_.pattern();
    });

    if (block) {
        column->addWidget(captionLabel(context.text(C::Section::detail()), this));
        accordion_ = new QToolButton(this);
        accordion_->setText(context.text(C::Redirect::header()));
        accordion_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        accordion_->setAutoRaise(true);
        column->addWidget(accordion_);
        connect(accordion_, &QToolButton::clicked, this, [this] {
            presenter_.setShowRedirectSection(!presenter_.showRedirectSection());
            refresh();
        });
        redirectPart_ = new QWidget(this);
        auto* redirectColumn = new QVBoxLayout(redirectPart_);
        redirectColumn->setContentsMargins(0, 0, 0, 0);
        override_ = new QCheckBox(context.text(P::Redirect::override()), redirectPart_);
        override_->setChecked(presenter_.overrideRedirect());
        redirectColumn->addWidget(override_);
        urlPart_ = new QWidget(redirectPart_);
        auto* urlColumn = new QVBoxLayout(urlPart_);
        urlColumn->setContentsMargins(0, 0, 0, 0);
        redirect_ = new QLineEdit(fromStd(presenter_.redirectURLString()), urlPart_);
        redirect_->setPlaceholderText(QStringLiteral("https://example.com/focus"));
        auto* urlStatus = new QHBoxLayout;
        redirectError_ = errorLabel(urlPart_);
        redirectCounter_ = captionLabel(QString(), urlPart_);
        urlStatus->addWidget(redirectError_, 1);
        urlStatus->addStretch();
        urlStatus->addWidget(redirectCounter_);
        append_ = new QCheckBox(context.text(C::Redirect::appendQuery()), urlPart_);
        append_->setChecked(presenter_.appendsQueryParameters());
        urlColumn->addWidget(redirect_);
        urlColumn->addLayout(urlStatus);
        urlColumn->addWidget(append_);
        redirectColumn->addWidget(urlPart_);
        useGroup_ = captionLabel(context.text(P::Redirect::useGroup()), redirectPart_);
        redirectColumn->addWidget(useGroup_);
        column->addWidget(redirectPart_);
        connect(override_, &QCheckBox::clicked, this, [this](bool on) {
            presenter_.setOverrideRedirect(on);
            refresh();
        });
        connect(append_, &QCheckBox::clicked, this,
                [this](bool on) { presenter_.setAppendsQueryParameters(on); });
        bindText(redirect_, [this](const QString& text) {
            presenter_.setRedirectURLString(toStd(text));
            refresh();
            return presenter_.redirectURLString();
        });
    }

    auto* footer = new QHBoxLayout;
    auto* cancel = new QPushButton(context.text(C::cancel()), this);
    cancel->setAutoDefault(false);
    footer->addWidget(cancel);
    footer->addStretch();
    if (presenter_.isEditing()) {
        delete_ = new QPushButton(context.text(C::delete_()), this);
        delete_->setAutoDefault(false);
        footer->addWidget(delete_);
        connect(delete_, &QPushButton::clicked, this, [this, block] {
            DeleteConfirmation::ask(this, context_.localizer, context_.language.current(),
                                    context_.text(block ? Strings::Pattern::DeleteConfirm::block()
                                                        : Strings::Pattern::DeleteConfirm::allow()),
                                    context_.text(Strings::Common::DeleteConfirm::defaultMessage()), [this] {
                                        presenter_.confirmDelete(context_.rules);
                                        accept();
                                    });
        });
    }
    save_ = new QPushButton(context.text(presenter_.isEditing() ? C::save() : C::add()), this);
    save_->setDefault(true);
    footer->addWidget(save_);
    column->addLayout(footer);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(save_, &QPushButton::clicked, this, &PatternEditSheet::save);
    refresh();
}

void PatternEditSheet::typePattern(const QString& text) {
    pattern_->setText(text);
    presenter_.setPattern(toStd(text));
    refresh();
}

void PatternEditSheet::refresh() {
    if (const auto& error = presenter_.validationError()) {
        status_->setText(fromStd(*error));
        status_->setStyleSheet(QStringLiteral("color: #d11;"));
    } else if (const auto preview = presenter_.normalizationPreview()) {
        status_->setText(context_.text(Strings::Pattern::normalizationPreview(fromStd(*preview))));
        status_->setStyleSheet(QString());
    } else {
        status_->clear();
    }
    counter_->setText(
        QStringLiteral("%1 / %2").arg(presenter_.patternLength()).arg(PatternEditPresenter::patternLimit));
    if (redirectPart_ != nullptr) {
        redirectPart_->setVisible(presenter_.showRedirectSection());
        accordion_->setArrowType(presenter_.showRedirectSection() ? Qt::DownArrow : Qt::RightArrow);
        urlPart_->setVisible(presenter_.overrideRedirect());
        useGroup_->setVisible(!presenter_.overrideRedirect());
        showError(redirectError_, presenter_.redirectURLError());
        redirectCounter_->setText(QStringLiteral("%1 / %2")
                                      .arg(presenter_.redirectURLLength())
                                      .arg(PatternEditPresenter::redirectURLLimit));
    }
}

void PatternEditSheet::save() {
    if (presenter_.save(context_.rules)) {
        accept();
    } else {
        refresh();
    }
}

} // namespace kivo
