#pragma once

#include <QString>

#include <functional>

namespace kivo {

// The tray item with its two-entry menu: open Kivo, quit Kivo.
class StatusItemPort {
public:
    virtual ~StatusItemPort() = default;
    // Creates the item (icon described as "Kivo") with the menu; the entries run the given actions.
    virtual void install(const QString& openTitle, const QString& quitTitle, std::function<void()> onOpen,
                         std::function<void()> onQuit) = 0;
    virtual void setTitles(const QString& openTitle, const QString& quitTitle) = 0;
};

} // namespace kivo
