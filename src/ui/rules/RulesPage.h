#pragma once

#include "domain/Uuid.h"
#include "ui/components/DeferredCall.h"

#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QDialog;
class QLabel;
class QPushButton;
class QScrollArea;
class QStackedWidget;
class QVBoxLayout;

namespace kivo {

struct ScreenContext;
class AutomationPermissionBanner;
class RowList;
class UnseenBrowsersNotice;
class RuleDetailPage;

// The rules pane: every rule group in stored order with its switch, name and rule count; a row opens the
// group's page on top of the list. Adds groups and reorders them through their sheets.
class RulesPage : public QWidget {
    Q_OBJECT
public:
    explicit RulesPage(const ScreenContext& context, QWidget* parent = nullptr);
    QWidget* listPage() const { return listPage_; }
    RuleDetailPage* detailPage() const { return detail_; }
    QLabel* emptyState() const { return empty_; }
    RowList* groupList() const { return list_; }
    // The Automation notice; none while no browser is denied.
    AutomationPermissionBanner* automationBanner() const { return banner_; }
    // The notice of browsers Kivo cannot see; hidden while there is none.
    UnseenBrowsersNotice* unseenBrowsersNotice() const { return unseenNotice_; }
    // Opens a group's page on top of the list, as a click on its row does.
    RuleDetailPage* openGroup(const Uuid& groupId);
    void showList();
    QDialog* openAddSheet();
    QDialog* openReorderSheet();

protected:
    // The unseen browsers are watched while the rule screens are shown.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void scheduleRebuild();
    void rebuildList();
    const ScreenContext& context_;
    QStackedWidget* stack_ = nullptr;
    QWidget* listPage_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    RowList* list_ = nullptr;
    QWidget* bannerSlot_ = nullptr;
    AutomationPermissionBanner* banner_ = nullptr;
    std::vector<std::string> bannerNames_;
    UnseenBrowsersNotice* unseenNotice_ = nullptr;
    std::shared_ptr<void> unseenWatch_;
    QLabel* empty_ = nullptr;
    QWidget* detailHolder_ = nullptr;
    RuleDetailPage* detail_ = nullptr;
    DeferredCall rebuildLater_{this, [this] { rebuildList(); }};
};

} // namespace kivo
