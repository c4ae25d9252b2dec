#include "ui/shell/MainContent.h"

#include "app/language/LocalizedStrings.h"
#include "ui/UiContext.h"
#include "ui/screens/ScreenPages.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QStackedWidget>
#include <QStyle>

#include <algorithm>

namespace kivo {
namespace {

// The sections' list with the style's layout margin around its rows and the style's spacing between them,
// so a highlighted row keeps clear of the window's edge and of its neighbours.
class SidebarList : public QListWidget {
public:
    explicit SidebarList(QWidget* parent) : QListWidget(parent) {
        const int between = std::max(0, style()->pixelMetric(QStyle::PM_LayoutVerticalSpacing));
        // A list view puts its spacing on every side of each row: half of it on each makes `between`.
        setSpacing(between / 2);
        const int margin = std::max(0, style()->pixelMetric(QStyle::PM_LayoutTopMargin) - between / 2);
        setViewportMargins(margin, margin, margin, margin);
        // The margin shows the list's own background, not the window's.
        setBackgroundRole(QPalette::Base);
        setAutoFillBackground(true);
    }
};

} // namespace

MainContent::MainContent(UiContext& ui, QWidget* parent)
    : QWidget(parent), ui_(ui), sidebar_(new SidebarList(this)), pages_(new QStackedWidget(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    sidebar_->setAccessibleName(ui.text(Strings::Nav::kivo()));
    sidebar_->setFixedWidth(180);
    sidebar_->setFrameShape(QFrame::NoFrame);
    sidebar_->setIconSize(QSize(18, 18));
    for (const auto item : kSidebarItems) {
        auto* row = new QListWidgetItem(sidebarIcon(item), ui.text(sidebarTitle(item)), sidebar_);
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
