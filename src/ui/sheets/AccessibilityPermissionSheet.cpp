#include "ui/sheets/AccessibilityPermissionSheet.h"

#include "app/language/LocalizedStrings.h"
#include "browser-monitor/SupportedBrowsers.h"
#include "ui/UiContext.h"
#include "ui/components/EmphasisMarkup.h"
#include "ui/components/PlainLabel.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace kivo {

namespace {

// A catalog text with its marked phrases in bold. `format` keeps its "%1": the browser's name goes in only
// once the marks are read, so nothing in the name is taken for markup.
QLabel* emphasisLabel(const QString& format, const QString& name) {
    auto* label = new QLabel;
    label->setTextFormat(Qt::RichText); // built from escaped text: the only markup is the emphasis
    label->setText(EmphasisMarkup::toHtml(format, name));
    label->setWordWrap(true);
    return label;
}

} // namespace

AccessibilityPermissionSheet::AccessibilityPermissionSheet(const PromptingBrowser& browser,
                                                           const UiContext& ui, std::function<void()> onGrant,
                                                           std::function<void()> onDismiss,
                                                           std::function<void()> onSuppress, QWidget* parent)
    : QDialog(parent), grant_(new QPushButton(ui.text(Strings::Permissions::Accessibility::grant()))),
      later_(new QPushButton(ui.text(Strings::Permissions::Accessibility::later()))),
      suppress_(new QPushButton(ui.text(Strings::Permissions::Accessibility::suppress()))) {
    setObjectName(QStringLiteral("accessibilitySheet"));
    setFixedWidth(480);
    namespace A = Strings::Permissions::Accessibility;
    const QString name = QString::fromStdString(browser.displayName);
    // The formats with their placeholder kept, for emphasisLabel to fill.
    const QString placeholder = QStringLiteral("%1");
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(24, 24, 24, 24);
    column->setSpacing(16);

    auto* header = new QHBoxLayout;
    header->setSpacing(12);
    auto* icon = new QLabel;
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(28, 28));
    header->addWidget(icon, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    auto* title = plainLabel(ui.text(A::title(name)));
    QFont bold = title->font();
    bold.setWeight(QFont::DemiBold);
    title->setFont(bold);
    title->setWordWrap(true);
    texts->addWidget(title);
    auto* description = emphasisLabel(ui.text(A::description(placeholder)), name);
    description->setForegroundRole(QPalette::PlaceholderText);
    texts->addWidget(description);
    header->addLayout(texts, 1);
    column->addLayout(header);

    auto* steps = new QVBoxLayout;
    steps->setSpacing(6);
    // Firefox follows the desktop's switch while it runs; a Chromium-family browser exposes its pages only
    // when accessibility was on at its start.
    const auto row = SupportedBrowsers::descriptor(browser.bundleId);
    const bool chromium = row && row->engine == BrowserEngine::chromium;
    QStringList stepFormats{ui.text(A::step1()), browser.bundleId == SupportedBrowsers::firefoxBundleId
                                                     ? ui.text(A::step2FollowsAtOnce(placeholder))
                                                     : ui.text(A::step2())};
    if (chromium) {
        stepFormats << ui.text(A::restart(placeholder));
    }
    stepFormats << ui.text(A::step3(placeholder));
    int number = 1;
    for (const auto& format : stepFormats) {
        steps->addWidget(emphasisLabel(QString::number(number++) + QStringLiteral(".  ") + format, name));
    }
    column->addLayout(steps);

    auto* divider = new QFrame;
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);
    column->addWidget(divider);

    auto* buttons = new QHBoxLayout;
    suppress_->setFlat(true);
    suppress_->setForegroundRole(QPalette::PlaceholderText);
    buttons->addWidget(suppress_);
    buttons->addStretch(1);
    buttons->addWidget(later_);
    buttons->addWidget(grant_);
    column->addLayout(buttons);
    for (auto* b : {suppress_, later_})
        b->setAutoDefault(false);
    grant_->setDefault(true);

    // As tall as its wrapped texts are at the sheet's width: Qt would size it for the texts' narrowest
    // width and spread the rest between the title and its description.
    setFixedHeight(heightForWidth(width()));

    connect(grant_, &QPushButton::clicked, this, [onGrant = std::move(onGrant)] { onGrant(); });
    connect(later_, &QPushButton::clicked, this, [onDismiss = std::move(onDismiss)] { onDismiss(); });
    connect(suppress_, &QPushButton::clicked, this, [onSuppress = std::move(onSuppress)] { onSuppress(); });
}

} // namespace kivo
