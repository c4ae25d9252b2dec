#pragma once

#include <QDialog>

#include <cstddef>
#include <set>

class QListWidget;

namespace kivo {

struct ScreenContext;

// Puts the rule groups in a new order by dragging. Every move is stored at once; Done (or Return) only
// closes the sheet.
class GroupReorderSheet : public QDialog {
    Q_OBJECT
public:
    explicit GroupReorderSheet(const ScreenContext& context, QWidget* parent = nullptr);
    QListWidget* list() const { return list_; }
    // The list's move: the rows at `source` land before the row that stood at `destination`.
    void moveGroups(const std::set<std::size_t>& source, std::size_t destination);

private:
    void reload();
    const ScreenContext& context_;
    QListWidget* list_ = nullptr;
    bool reloadPending_ = false;
};

} // namespace kivo
