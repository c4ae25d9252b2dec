#include "platform/linux/FcitxInputMethod.h"

#include "platform/linux/InputMethodRecord.h"

namespace kivo {

FcitxInputMethod::FcitxInputMethod(std::shared_ptr<InputMethodRecord> record) : record_(std::move(record)) {}

FcitxInputMethod::~FcitxInputMethod() = default;

PlainTyping FcitxInputMethod::typePlain(int, WindowHandle) {
    return {};
}

bool FcitxInputMethod::restore() {
    return true;
}

void FcitxInputMethod::recover(const QJsonObject&) {}

} // namespace kivo
