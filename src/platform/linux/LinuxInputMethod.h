#pragma once

#include "browser-monitor/ports/InputMethod.h"

#include <QJsonObject>

#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace kivo {

class InputMethodRecord;

// One input method framework's way of switching to plain keyboard input and back.
class InputMethodFramework : public InputMethod {
public:
    // The name kept in the record ("ibus", "fcitx5").
    virtual QString name() const = 0;
    // Puts back what a Kivo that stopped while switched left behind: `record` is what this framework
    // saved. It changes nothing where the user has moved on since (another engine than Kivo's plain one).
    virtual void recover(const QJsonObject& record) = 0;
};

// The input method a browser's keys go through, told from the environment the browser was started with
// as GTK reads it (`GTK_IM_MODULE`, and `XMODIFIERS` behind `xim`): IBus, Fcitx 5, or none. A browser whose
// environment names none uses IBus where an IBus daemon runs for its display, as GTK does with the IBus
// module installed. A browser whose environment cannot be read is taken as started like Kivo. A method
// Kivo does not know is `unusable`: nothing is typed through it.
class LinuxInputMethod final : public InputMethod {
public:
    // The desktop's IBus and Fcitx 5, sharing the record at `recordPath`.
    static std::unique_ptr<LinuxInputMethod> create(const QString& recordPath);
    // Either framework may be missing (tests).
    LinuxInputMethod(std::shared_ptr<InputMethodRecord> record, std::unique_ptr<InputMethodFramework> ibus,
                     std::unique_ptr<InputMethodFramework> fcitx);
    // Gives back whatever is still switched.
    ~LinuxInputMethod() override;

    // The record a Kivo that stopped while switched left: its framework puts the user's state back.
    void recoverLeftover();

    PlainTyping typePlain(int processId, WindowHandle window) override;
    bool restore() override;

    enum class Choice { none, ibus, fcitx, unknown };
    // Which framework an environment names. `ibusDaemon` is the program IBus's address file names for it:
    // Fcitx 5's IBus front end answers as IBus, and only Fcitx can switch its engine.
    static Choice choose(const std::map<std::string, std::string>& environment,
                         const std::string& ibusDaemon = {});

private:
    std::shared_ptr<InputMethodRecord> record_;
    std::unique_ptr<InputMethodFramework> ibus_;
    std::unique_ptr<InputMethodFramework> fcitx_;
    std::mutex mutex_;
    InputMethodFramework* switched_ = nullptr;
};

} // namespace kivo
