#pragma once

#include <QJsonObject>
#include <QString>

#include <mutex>
#include <optional>

namespace kivo {

// What Kivo switched an input method away from, kept on disk while it is switched: a Kivo that stops
// part way (killed, crashed, the machine off) finds it at its next start and puts the user's engine and
// mode back. One record at a time; calls may come from any thread.
class InputMethodRecord {
public:
    // `$XDG_STATE_HOME/kivo/input-method.json`, or under `~/.local/state`.
    static QString standardPath();

    explicit InputMethodRecord(QString path);

    // Written durably before the switch; false when it could not be (nothing may then be switched, since
    // nothing could put it back after a stop).
    bool save(const QJsonObject& record);
    // The record left by a Kivo that stopped while switched; none when there is none. A record that does
    // not read is kept aside (`.unreadable`) and reported as none.
    std::optional<QJsonObject> load();
    // Once the user's state is back.
    void clear();

private:
    std::mutex mutex_;
    QString path_;
};

} // namespace kivo
