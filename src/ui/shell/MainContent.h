#pragma once

#include "ui/shell/SidebarItem.h"

#include <QWidget>

#include <map>
#include <optional>

class QListWidget;
class QStackedWidget;

namespace kivo {

struct UiContext;

// The window content once onboarding is done: the sidebar with the three sections and the selected
// section's page beside it. Pages are built on first selection and kept while the content lives.
class MainContent : public QWidget {
    Q_OBJECT
public:
    explicit MainContent(UiContext& ui, QWidget* parent = nullptr);

    // None when the user cleared the selection; the rules page shows then.
    std::optional<SidebarItem> selectedItem() const;
    void select(std::optional<SidebarItem> item);
    // The page on show.
    QWidget* currentPage() const;
    QListWidget* sidebar() const { return sidebar_; }

private:
    void showPage(SidebarItem item);

    UiContext& ui_;
    QListWidget* sidebar_;
    QStackedWidget* pages_;
    std::map<SidebarItem, QWidget*> built_;
};

} // namespace kivo
