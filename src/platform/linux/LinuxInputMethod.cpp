#include "platform/linux/LinuxInputMethod.h"

#include "core/Log.h"
#include "platform/linux/FcitxInputMethod.h"
#include "platform/linux/IBusInputMethod.h"
#include "platform/linux/InputMethodRecord.h"
#include "platform/linux/ProcessEnvironment.h"

#include <QProcessEnvironment>

namespace kivo {

std::unique_ptr<LinuxInputMethod> LinuxInputMethod::create(const QString& recordPath) {
    auto record = std::make_shared<InputMethodRecord>(recordPath);
    return std::make_unique<LinuxInputMethod>(record, std::make_unique<IBusInputMethod>(record),
                                              std::make_unique<FcitxInputMethod>(record));
}

LinuxInputMethod::LinuxInputMethod(std::shared_ptr<InputMethodRecord> record,
                                   std::unique_ptr<InputMethodFramework> ibus,
                                   std::unique_ptr<InputMethodFramework> fcitx)
    : record_(std::move(record)), ibus_(std::move(ibus)), fcitx_(std::move(fcitx)) {}

LinuxInputMethod::~LinuxInputMethod() {
    restore();
}

void LinuxInputMethod::recoverLeftover() {
    const auto record = record_->load();
    if (!record) {
        return;
    }
    const QString framework = record->value(QStringLiteral("framework")).toString();
    for (auto* candidate : {ibus_.get(), fcitx_.get()}) {
        if (candidate && candidate->name() == framework) {
            qCInfo(lcAutomation, "putting back the input method a previous run left switched");
            candidate->recover(*record);
        }
    }
    record_->clear();
}

LinuxInputMethod::Choice LinuxInputMethod::choose(const std::map<std::string, std::string>& environment,
                                                  const std::string& ibusDaemon) {
    const auto value = [&](const char* name) {
        const auto it = environment.find(name);
        return it == environment.end() ? std::string() : it->second;
    };
    const auto named = [](const std::string& module) {
        if (module == "ibus") {
            return Choice::ibus;
        }
        if (module == "fcitx" || module == "fcitx5") {
            return Choice::fcitx;
        }
        if (module.empty() || module == "simple" || module == "gtk-im-context-simple" || module == "none") {
            return Choice::none;
        }
        return Choice::unknown;
    };
    const std::string module = value("GTK_IM_MODULE");
    Choice choice = Choice::ibus; // GTK's own default with the IBus module installed, where it runs
    if (module == "xim") {
        // The X input method server XMODIFIERS names; none named is the X server's plain keyboard.
        const std::string modifiers = value("XMODIFIERS");
        const auto at = modifiers.find("@im=");
        choice = at == std::string::npos ? Choice::none : named(modifiers.substr(at + 4));
    } else if (!module.empty()) {
        choice = named(module);
    }
    return choice == Choice::ibus && ibusDaemon == "fcitx5" ? Choice::fcitx : choice;
}

PlainTyping LinuxInputMethod::typePlain(int processId, WindowHandle window) {
    const std::lock_guard lock(mutex_);
    auto environment = processEnvironment(processId);
    if (!environment) {
        // A browser whose environment cannot be read (Chromium writes its title over it) is taken as
        // started like Kivo, as the session's programs are.
        environment.emplace();
        for (const QString& entry : QProcessEnvironment::systemEnvironment().toStringList()) {
            const int equals = entry.indexOf(QLatin1Char('='));
            environment->emplace(entry.left(equals).toStdString(), entry.mid(equals + 1).toStdString());
        }
    }
    const Choice choice = choose(*environment, IBusInputMethod::daemonProgram(*environment));
    InputMethodFramework* framework = choice == Choice::ibus    ? ibus_.get()
                                      : choice == Choice::fcitx ? fcitx_.get()
                                                                : nullptr;
    if (choice == Choice::unknown) {
        return {PlainTyping::Kind::unusable, "unknown input method"};
    }
    if (!framework) {
        return {};
    }
    auto result = framework->typePlain(processId, window);
    if (result.kind == PlainTyping::Kind::switched) {
        switched_ = framework;
    }
    return result;
}

bool LinuxInputMethod::restore() {
    const std::lock_guard lock(mutex_);
    if (!switched_) {
        return true;
    }
    const bool restored = std::exchange(switched_, nullptr)->restore();
    if (restored) {
        record_->clear();
    }
    return restored;
}

} // namespace kivo
