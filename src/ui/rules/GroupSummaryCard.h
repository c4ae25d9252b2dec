#pragma once

#include "domain/Uuid.h"

#include <QFrame>

class QCheckBox;
class QLabel;

namespace kivo {

struct ScreenContext;
struct BlockRuleGroup;

// The card at the top of a group's page: its switch, its name and a line summing up when it is active,
// how it unlocks and whether it has its own redirect target. A click outside the switch asks for the
// group's settings.
class GroupSummaryCard : public QFrame {
    Q_OBJECT
public:
    GroupSummaryCard(const ScreenContext& context, const BlockRuleGroup& group, QWidget* parent = nullptr);
    QCheckBox* groupSwitch() const { return switch_; }
    QLabel* summaryLabel() const { return summary_; }

signals:
    void settingsRequested();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QCheckBox* switch_ = nullptr;
    QLabel* summary_ = nullptr;
};

} // namespace kivo
