#pragma once

#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QScrollArea;
class QVBoxLayout;

namespace kivo {

// A column of rows, one per item of a list, kept in step with that list in place: a row whose item stays
// is refreshed and keeps the keyboard focus, a new item gets a new row, and the row of an item that went
// is hidden and deleted on a later turn of the event loop. The focus it held moves to the next row that
// stays, else the one before, else to the fallback (the add button). Tab runs from the anchor through the
// rows in their order.
class RowList : public QWidget {
    Q_OBJECT
public:
    // `anchor` is the control Tab leaves for the first row; `fallback` takes the focus when no row is left.
    RowList(QWidget* anchor, QWidget* fallback, QWidget* parent = nullptr);

    // Shows one row per key, in this order. `make(i)` builds the row for a new key (as a child of the list),
    // `refresh(i, row)` brings a new or kept row up to date with item i.
    void sync(const std::vector<std::string>& keys, const std::function<QWidget*(std::size_t)>& make,
              const std::function<void(std::size_t, QWidget*)>& refresh);
    const std::vector<QWidget*>& rows() const { return rows_; }

    struct Scrolled {
        QScrollArea* scroll;
        QVBoxLayout* column; // below the list: for an empty state and a stretch
        RowList* list;
    };
    // A row list at the top of a scroll area. The area takes no focus itself: the rows do, and it follows.
    static Scrolled inScrollArea(QWidget* anchor, QWidget* fallback, QWidget* parent);

private:
    void fixTabOrder(std::size_t from);
    QWidget* anchor_;
    QWidget* fallback_;
    QVBoxLayout* layout_;
    std::vector<std::string> keys_;
    std::vector<QWidget*> rows_;
};

} // namespace kivo
