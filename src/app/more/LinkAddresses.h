#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace kivo {

// The web addresses a build was given for its links, and where the privacy statement installed with
// Kivo lies. An empty address means the packager set none: its link is left out or replaced.
struct LinkAddresses {
    QString feedback;           // the feedback form for every interface language
    QString feedbackJapanese;   // the form for the Japanese interface; empty: `feedback`
    QString privacySite;        // a site with the privacy pages under /privacy, /ja/privacy, ...
    QString libraryRepository;  // the brightness library's source repository
    QString statementDirectory; // holds privacy.html and its translations; empty: none was found

    // The addresses compiled in (KIVO_FEEDBACK_URL, KIVO_FEEDBACK_URL_JA, KIVO_PRIVACY_SITE,
    // KIVO_BRIGHTNESS_LIBRARY_URL) and the statement installed beside the program, or in the build tree
    // when the program runs from there.
    static LinkAddresses builtIn();
    // An absolute http or https address with a host; none for anything else.
    static std::optional<QUrl> webPage(const QString& address);
};

} // namespace kivo
