#include "ui/components/RowList.h"

#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>
#include <map>
#include <set>

namespace kivo {

RowList::RowList(QWidget* anchor, QWidget* fallback, QWidget* parent)
    : QWidget(parent), anchor_(anchor), fallback_(fallback), layout_(new QVBoxLayout(this)) {
    layout_->setContentsMargins(0, 0, 0, 0);
}

RowList::Scrolled RowList::inScrollArea(QWidget* anchor, QWidget* fallback, QWidget* parent) {
    auto* scroll = new QScrollArea(parent);
    scroll->setWidgetResizable(true);
    scroll->setFocusPolicy(Qt::NoFocus);
    auto* holder = new QWidget(scroll);
    auto* column = new QVBoxLayout(holder);
    auto* list = new RowList(anchor, fallback, holder);
    column->addWidget(list);
    scroll->setWidget(holder);
    return {scroll, column, list};
}

void RowList::sync(const std::vector<std::string>& keys, const std::function<QWidget*(std::size_t)>& make,
                   const std::function<void(std::size_t, QWidget*)>& refresh) {
    std::multimap<std::string, QWidget*> old;
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        old.emplace(keys_[i], rows_[i]);
    }
    std::vector<QWidget*> rows;
    rows.reserve(keys.size());
    bool created = false;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        QWidget* row = nullptr;
        if (const auto kept = old.find(keys[i]); kept != old.end()) {
            row = kept->second;
            old.erase(kept);
        } else {
            row = make(i);
            created = true;
        }
        refresh(i, row);
        rows.push_back(row);
    }
    std::set<QWidget*> gone;
    for (const auto& entry : old) {
        gone.insert(entry.second);
    }
    std::vector<QWidget*> staying;
    for (QWidget* row : rows_) {
        if (gone.count(row) == 0) {
            staying.push_back(row);
        }
    }
    // The window remembers its focus child while a sheet is in front: the row the user comes back to.
    QWidget* focus = window()->focusWidget();
    const auto focused = std::find_if(rows_.begin(), rows_.end(), [focus](QWidget* row) {
        return row == focus || row->isAncestorOf(focus);
    });
    if (focused != rows_.end() && gone.count(*focused) != 0) {
        const auto stays = [&gone](QWidget* row) { return gone.count(row) == 0; };
        QWidget* next = fallback_;
        if (const auto after = std::find_if(focused + 1, rows_.end(), stays); after != rows_.end()) {
            next = *after;
        } else if (const auto before = std::find_if(std::make_reverse_iterator(focused), rows_.rend(), stays);
                   before != rows_.rend()) {
            next = *before;
        } else if (!rows.empty()) {
            next = rows.front();
        }
        if (next != nullptr) {
            next->setFocus(Qt::OtherFocusReason);
        }
    }
    for (QWidget* row : gone) {
        row->hide();
        row->deleteLater(); // a store change may come from inside this very row's switch
    }
    const bool reordered = created || staying != rows;
    // Rows made in order follow one another in the focus chain already; from the first row out of its
    // place on, the chain is set again.
    std::size_t from = 0;
    while (from < rows.size() && from < staying.size() && rows[from] == staying[from]) {
        ++from;
    }
    keys_ = keys;
    rows_ = std::move(rows);
    if (reordered) {
        for (QWidget* row : rows_) {
            layout_->removeWidget(row);
        }
        for (QWidget* row : rows_) {
            layout_->addWidget(row);
            row->show();
        }
        if (!staying.empty()) {
            fixTabOrder(from);
        }
    }
}

void RowList::fixTabOrder(std::size_t from) {
    const auto controls = [](QWidget* row) {
        std::vector<QWidget*> stops{row};
        for (QWidget* control : row->findChildren<QWidget*>()) {
            if (control->focusPolicy() != Qt::NoFocus) {
                stops.push_back(control);
            }
        }
        return stops;
    };
    QWidget* previous = from == 0 ? anchor_ : controls(rows_[from - 1]).back();
    for (std::size_t i = from; i < rows_.size(); ++i) {
        for (QWidget* stop : controls(rows_[i])) {
            if (previous != nullptr) {
                QWidget::setTabOrder(previous, stop);
            }
            previous = stop;
        }
    }
}

} // namespace kivo
