#include "ui/rules/GroupReorderSheet.h"

#include "app/language/LocalizedStrings.h"
#include "app/rules/BlockRuleStore.h"
#include "app/rules/GroupOrder.h"
#include "ui/screens/ScreenContext.h"
#include "ui/screens/ScreenWidgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace kivo {

GroupReorderSheet::GroupReorderSheet(const ScreenContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    setWindowModality(Qt::WindowModal);
    ScreenWidgets::closeWithWindow(this);
    setFixedWidth(400);
    auto* column = new QVBoxLayout(this);
    column->setSpacing(16);
    setWindowTitle(context.text(Strings::GroupReorder::title()));
    setAccessibleName(windowTitle());
    column->addWidget(ScreenWidgets::headline(windowTitle(), this));
    list_ = new QListWidget(this);
    list_->setAccessibleName(windowTitle());
    list_->setDragDropMode(QAbstractItemView::InternalMove);
    list_->setDefaultDropAction(Qt::MoveAction);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    column->addWidget(list_);
    auto* footer = new QHBoxLayout;
    footer->addStretch();
    auto* done = new QPushButton(context.text(Strings::Common::done()), this);
    done->setDefault(true);
    footer->addWidget(done);
    column->addLayout(footer);
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
    connect(list_->model(), &QAbstractItemModel::rowsMoved, this,
            [this](const QModelIndex&, int start, int end, const QModelIndex&, int row) {
                std::set<std::size_t> source;
                for (int i = start; i <= end; ++i) {
                    source.insert(static_cast<std::size_t>(i));
                }
                moveGroups(source, static_cast<std::size_t>(row));
            });
    // The list follows the store; the reload waits for the drop that caused it to finish.
    connect(&context.rules, &BlockRuleStore::groupsChanged, this, [this] {
        if (!reloadPending_) {
            reloadPending_ = true;
            QTimer::singleShot(0, this, [this] {
                reloadPending_ = false;
                reload();
            });
        }
    });
    reload();
}

void GroupReorderSheet::moveGroups(const std::set<std::size_t>& source, std::size_t destination) {
    context_.rules.setGroups(GroupOrder::moved(context_.rules.groups(), source, destination));
}

void GroupReorderSheet::reload() {
    list_->clear();
    for (const auto& group : context_.rules.groups()) {
        const QString name = ScreenWidgets::fromStd(group.name);
        auto* item = new QListWidgetItem(QStringLiteral("\u2261  ") + name, list_);
        item->setData(Qt::AccessibleTextRole, context_.text(Strings::GroupReorder::A11y::dragHandle(name)));
    }
    list_->setFixedHeight(GroupOrder::listHeight(context_.rules.groups().size()));
}

} // namespace kivo
