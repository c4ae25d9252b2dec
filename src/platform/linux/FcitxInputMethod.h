#pragma once

#include "platform/linux/LinuxInputMethod.h"

#include <QDBusConnection>
#include <QString>

#include <map>
#include <memory>
#include <mutex>
#include <optional>

namespace kivo {

class InputMethodRecord;

// Fcitx 5 through its controller on the browser's session bus. The controller acts on the input context
// that last had the focus, the browser's address field while Kivo types: it is turned inactive, which is
// the group's first engine (a keyboard layout in every group Fcitx writes), and made active again after.
// The engines keep their own mode per input context across that (mozc's Hiragana or Direct); hangul's
// Hangul/Latin and pinyin's Chinese/English are Fcitx's own active/inactive state. Where the group's
// first engine is not a keyboard one, its keyboard engine is selected instead and the user's selected
// again after. Where all input contexts share one state, any of them gives it back.
class FcitxInputMethod final : public InputMethodFramework {
public:
    explicit FcitxInputMethod(std::shared_ptr<InputMethodRecord> record);
    ~FcitxInputMethod() override;

    QString name() const override { return QStringLiteral("fcitx5"); }
    PlainTyping typePlain(int processId, WindowHandle window) override;
    bool restore() override;
    void recover(const QJsonObject& record) override;

    // What Kivo changed, as kept in the record.
    struct Switch {
        QString bus;           // the session bus address; empty for Kivo's own
        QString context;       // the input context's id from the controller's debug dump; empty if none
        bool shared = false;   // all input contexts share one state: any of them gives it back
        QString engine;        // the user's engine ("mozc")
        bool active = false;   // Fcitx's state for that input context before
        QString plain;         // the keyboard engine Kivo switched to
        bool selected = false; // switched by selecting `plain`, not by turning the context inactive
    };

private:
    enum class PutBack { done, movedOn, failed };
    PutBack putBack(const Switch& change, bool leftover);
    std::optional<QDBusConnection> connect(const QString& address);

    std::shared_ptr<InputMethodRecord> record_;
    std::mutex mutex_;
    std::optional<Switch> switched_;
    std::map<QString, QString> connections_; // bus address → connection name
};

} // namespace kivo
