#pragma once

namespace kivo {

// The application's windows as the delegate drives them.
class ApplicationWindows {
public:
    virtual ~ApplicationWindows() = default;
    // Brings the main window up and to the front.
    virtual void showMainWindow() = 0;
    // A refused plain quit: ends open sheets, then hides every visible window that is not a veil (or
    // minimises it where nothing would be left to bring it back).
    virtual void endSheetsAndHideWindows() = 0;
    // Asks the application to end; the termination answer decides (it allows an approved quit).
    virtual void terminate() = 0;
};

} // namespace kivo
