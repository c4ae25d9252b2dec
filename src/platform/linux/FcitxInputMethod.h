#pragma once

#include "platform/linux/LinuxInputMethod.h"

#include <memory>

namespace kivo {

class InputMethodRecord;

class FcitxInputMethod final : public InputMethodFramework {
public:
    explicit FcitxInputMethod(std::shared_ptr<InputMethodRecord> record);
    ~FcitxInputMethod() override;

    QString name() const override { return QStringLiteral("fcitx5"); }
    PlainTyping typePlain(int processId, WindowHandle window) override;
    bool restore() override;
    void recover(const QJsonObject& record) override;

private:
    std::shared_ptr<InputMethodRecord> record_;
};

} // namespace kivo
