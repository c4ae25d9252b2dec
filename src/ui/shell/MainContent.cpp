#include "ui/shell/MainContent.h"

#include "app/language/LocalizedStrings.h"
#include "ui/UiContext.h"
#include "ui/screens/ScreenPages.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QListWidget>
#include <QStackedWidget>

namespace kivo {

MainContent::MainContent(UiContext& ui, QWidget* parent)
    : QWidget(parent), ui_(ui), sidebar_(new QListWidget(this)), pages_(new QStackedWidget(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    sidebar_->setAccessibleName(ui.text(Strings::Nav::kivo()));
    sidebar_->setFixedWidth(180);
    sidebar_->setFrameShape(QFrame::NoFrame);
    sidebar_->setIconSize(QSize(18, 18));
    for (const auto item : kSidebarItems) {
        auto* row = new QListWidgetItem(QIcon::fromTheme(QString::fromLatin1(sidebarIconName(item))),
                                        ui.text(sidebarTitle(item)), sidebar_);
        row->setData(Qt::UserRole, static_cast<int>(item));
    }
    layout->addWidget(sidebar_);
    layout->addWidget(pages_, 1);

    connect(sidebar_, &QListWidget::itemSelectionChanged, this,
            [this] { showPage(selectedItem().value_or(SidebarItem::rules)); });
    select(SidebarItem::rules);
}

std::optional<SidebarItem> MainContent::selectedItem() const {
    const auto selected = sidebar_->selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    return static_cast<SidebarItem>(selected.first()->data(Qt::UserRole).toInt());
}

void MainContent::select(std::optional<SidebarItem> item) {
    if (!item) {
        sidebar_->clearSelection();
        return;
    }
    sidebar_->setCurrentRow(static_cast<int>(*item));
    showPage(*item);
}

QWidget* MainContent::currentPage() const {
    return pages_->currentWidget();
}

void MainContent::showPage(SidebarItem item) {
    auto found = built_.find(item);
    if (found == built_.end()) {
        QWidget* page = nullptr;
        switch (item) {
        case SidebarItem::rules:
            page = ScreenPages::rules(ui_);
            break;
        case SidebarItem::display:
            page = ScreenPages::display(ui_);
            break;
        case SidebarItem::more:
            page = ScreenPages::more(ui_);
            break;
        }
        page->setObjectName(QStringLiteral("page-%1").arg(static_cast<int>(item)));
        pages_->addWidget(page);
        found = built_.emplace(item, page).first;
    }
    pages_->setCurrentWidget(found->second);
}

} // namespace kivo
