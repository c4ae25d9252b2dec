#pragma once

#include <QStringList>
#include <QWidget>

#include <vector>

class QPushButton;

namespace kivo {

// A row of checkable push buttons of which one is chosen (a mode, a method), centred in its line.
// Assistive tools meet the row as a group named `name`, a label no one sees; each segment keeps its own
// name. Only clicks reach the caller.
class SegmentedPicker : public QWidget {
    Q_OBJECT
public:
    SegmentedPicker(const QString& name, const QStringList& segments, int chosen, QWidget* parent = nullptr);

    QPushButton* segment(int index) const { return segments_.at(static_cast<std::size_t>(index)); }

signals:
    void segmentClicked(int index);

private:
    std::vector<QPushButton*> segments_;
};

} // namespace kivo
