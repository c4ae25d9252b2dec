#include "ui/shell/SectionPages.h"

#include "app/LocalizedStrings.h"
#include "ui/UiContext.h"
#include "ui/components/PlainLabel.h"

#include <QVBoxLayout>

namespace kivo {

namespace {

// A section whose screen is not there yet shows its title alone.
QWidget* titledPage(UiContext& ui, const LocalizedString& title) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* heading = plainLabel(ui.text(title), page);
    QFont font = heading->font();
    font.setPointSizeF(font.pointSizeF() * 1.5);
    font.setWeight(QFont::DemiBold);
    heading->setFont(font);
    layout->addWidget(heading);
    layout->addStretch(1);
    return page;
}

} // namespace

namespace SectionPages {

QWidget* rules(UiContext& ui) {
    return titledPage(ui, Strings::Sidebar::rules());
}
QWidget* display(UiContext& ui) {
    return titledPage(ui, Strings::Sidebar::display());
}
QWidget* more(UiContext& ui) {
    return titledPage(ui, Strings::Sidebar::more());
}

} // namespace SectionPages
} // namespace kivo
