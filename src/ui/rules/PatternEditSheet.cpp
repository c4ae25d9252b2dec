#include "ui/rules/PatternEditSheet.h"

#include "app/language/LocalizedStrings.h"
#include "ui/rules/RedirectSection.h"
#include "ui/screens/ScreenContext.h"
#include "ui/screens/ScreenWidgets.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
    setWindowTitle(context.text(title));
    setAccessibleName(windowTitle());
    column->addWidget(headline(windowTitle(), this));

    QLabel* patternLabel = captionLabel(context.text(P::Section::pattern()), this);
    column->addWidget(patternLabel);
    pattern_ = new QLineEdit(fromStd(presenter_.pattern()), this);
    labelField(patternLabel, pattern_);
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
        redirect_ = std::make_unique<RedirectSection>(context, column, this, presenter_.redirect(),
                                                      [this] { refresh(); });
        override_ = new QCheckBox(context.text(P::Redirect::override()), this);
        override_->setChecked(presenter_.overrideRedirect());
        append_ = new QCheckBox(context.text(C::Redirect::appendQuery()), this);
        append_->setChecked(presenter_.appendsQueryParameters());
        redirect_->urlColumn()->addWidget(append_);
        useGroup_ = captionLabel(context.text(P::Redirect::useGroup()), this);
        redirect_->body()->addWidget(override_);
        redirect_->body()->addWidget(redirect_->urlPart());
        redirect_->body()->addWidget(useGroup_);
        connect(override_, &QCheckBox::clicked, this, [this](bool on) {
            presenter_.setOverrideRedirect(on);
            refresh();
        });
        connect(append_, &QCheckBox::clicked, this,
                [this](bool on) { presenter_.setAppendsQueryParameters(on); });
    }

    const SheetFooter footer = addSheetFooter(
        this, column, context, presenter_.isEditing(),
        presenter_.isEditing()
            ? std::optional<SheetDelete>(SheetDelete{block ? Strings::Pattern::DeleteConfirm::block()
                                                           : Strings::Pattern::DeleteConfirm::allow(),
                                                     Strings::Common::DeleteConfirm::defaultMessage(),
                                                     [this] { presenter_.confirmDelete(context_.rules); }})
            : std::nullopt);
    save_ = footer.save;
    delete_ = footer.remove;
    connect(save_, &QPushButton::clicked, this, &PatternEditSheet::save);
    refresh();
}

PatternEditSheet::~PatternEditSheet() = default;

QLineEdit* PatternEditSheet::redirectField() const {
    return redirect_ ? redirect_->field() : nullptr;
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
    if (redirect_) {
        redirect_->refresh();
        useGroup_->setVisible(!presenter_.overrideRedirect());
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
