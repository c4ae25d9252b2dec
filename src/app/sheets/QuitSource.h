#pragma once

namespace kivo {

// Where the user asked to quit from inside Kivo.
enum class QuitSource { menuBar, settings };

// The name the quit log lines use.
inline const char* quitSourceName(QuitSource source) {
    switch (source) {
    case QuitSource::menuBar:
        return "menuBar";
    case QuitSource::settings:
        return "settings";
    }
    return "menuBar";
}

} // namespace kivo
