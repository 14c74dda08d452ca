#pragma once

// Fetches one release's notes, a Markdown document on the release feed, trying the variant in
// the system's language first ("release-notes.de.md") and the untranslated one after it.

#include "services/update/UpdateConfig.h"

#include <QNetworkRequest>
#include <QObject>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

namespace LarkUpdate {

class ReleaseNotesFetcher : public QObject
{
    Q_OBJECT
public:
    // Notes of the running version: "<version>/release-notes.md" beside the channel's folder.
    explicit ReleaseNotesFetcher(const UpdateChannelConfig &config, QObject *parent = nullptr);
    // Notes at a given address; tag goes into the User-Agent.
    ReleaseNotesFetcher(const QUrl &notesUrl, const QString &tag, QObject *parent = nullptr);

    // Ends in exactly one of notesReady and notesUnavailable, always after returning.
    void start();

    QUrl notesUrl() const { return m_notesUrl; }
    QUrl localizedNotesUrl() const { return m_localizedNotesUrl; }
    // Asks for another language than the system's (a locale name such as "de_DE").
    void setLocaleName(const QString &localeName);

    // The translated variant of url for the system's language; empty for English.
    static QUrl localizedUrl(const QUrl &url);
    static QUrl localizedUrl(const QUrl &url, const QString &localeName);
    static QNetworkRequest makeRequest(const QUrl &url, const QString &tag);

signals:
    void notesReady(QString markdown);
    void notesUnavailable();

private:
    void fetch(const QUrl &url, bool fallBackToUntranslated);
    // The trimmed body, or an empty text when the reply failed or holds only white space.
    static QString notesFrom(QNetworkReply *reply);

    QString m_tag;
    QNetworkAccessManager *m_network;
    QUrl m_notesUrl;
    QUrl m_localizedNotesUrl;
};

} // namespace LarkUpdate
