#include "ui/components/SegmentedPicker.h"

#include <QAccessibleWidget>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPushButton>

namespace kivo {
namespace {

// A plain widget is a client area to assistive tools; the picker is a group of its segments.
QAccessibleInterface* groupInterface(const QString& className, QObject* object) {
    if (className == QLatin1String(SegmentedPicker::staticMetaObject.className()) && object->isWidgetType()) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Grouping);
    }
    return nullptr;
}

} // namespace

SegmentedPicker::SegmentedPicker(const QString& name, const QStringList& segments, int chosen,
                                 QWidget* parent)
    : QWidget(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(groupInterface);
        return true;
    }();
    Q_UNUSED(installed);
    setAccessibleName(name);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch();
    auto* exclusive = new QButtonGroup(this);
    for (const QString& title : segments) {
        auto* button = new QPushButton(this);
        button->setCheckable(true); // before the text names it to assistive tools
        button->setText(title);
        // Return in a sheet saves; a segment must not take it over once clicked.
        button->setAutoDefault(false);
        button->setChecked(static_cast<int>(segments_.size()) == chosen);
        exclusive->addButton(button);
        row->addWidget(button);
        const int index = static_cast<int>(segments_.size());
        connect(button, &QPushButton::clicked, this, [this, index] { emit segmentClicked(index); });
        segments_.push_back(button);
    }
    row->addStretch();
}

} // namespace kivo
