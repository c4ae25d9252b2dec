#pragma once

#include "ui/components/NoticeBanner.h"

namespace kivo {

struct ScreenContext;

// The notice above the rule lists while supported browsers run where Kivo cannot see them (natively on
// Wayland): names them (the context's unseenBrowserNames) and says how to run them so that Kivo can. It
// has no button, since no setting can help. It follows the monitor and is hidden while no browser is
// unseen.
class UnseenBrowsersNotice : public NoticeBanner {
    Q_OBJECT
public:
    explicit UnseenBrowsersNotice(const ScreenContext& context, QWidget* parent = nullptr);

private:
    void refresh();
    const ScreenContext& context_;
};

} // namespace kivo
