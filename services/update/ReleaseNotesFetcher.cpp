#include "services/update/ReleaseNotesFetcher.h"

#include "services/net/RequestPolicy.h"
#include "services/update/FeedAccess.h"

#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>

namespace LarkUpdate {

namespace {

QUrl runningVersionNotesUrl(const UpdateChannelConfig &config)
{
    QUrl url = config.manifestBaseUrl;
    QString path = url.path(QUrl::FullyDecoded);
    if (path.endsWith(u'/'))
        path.chop(1);
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash >= 0)
        path.truncate(slash + 1);
    url.setPath(path + config.currentVersion + QStringLiteral("/release-notes.md"),
                QUrl::DecodedMode);
    return url;
}

} // namespace

ReleaseNotesFetcher::ReleaseNotesFetcher(const UpdateChannelConfig &config, QObject *parent)
    : ReleaseNotesFetcher(runningVersionNotesUrl(config), config.product, parent)
{ }

ReleaseNotesFetcher::ReleaseNotesFetcher(const QUrl &notesUrl, const QString &tag, QObject *parent)
    : QObject(parent)
    , m_tag(tag)
    , m_network(new QNetworkAccessManager(this))
    , m_notesUrl(notesUrl)
    , m_localizedNotesUrl(localizedUrl(notesUrl))
{ }

void ReleaseNotesFetcher::setLocaleName(const QString &localeName)
{
    m_localizedNotesUrl = localizedUrl(m_notesUrl, localeName);
}

QUrl ReleaseNotesFetcher::localizedUrl(const QUrl &url)
{
    return localizedUrl(url, QLocale::system().name());
}

QUrl ReleaseNotesFetcher::localizedUrl(const QUrl &url, const QString &localeName)
{
    const QString language = localeName.left(2);
    // The "C" and "POSIX" locales are the untranslated program, which is English.
    if (language.isEmpty() || language == QLatin1String("en") || language == QLatin1String("C")
        || localeName.startsWith(QLatin1String("POSIX")))
        return {};
    QString path = url.path(QUrl::FullyDecoded);
    if (path.endsWith(QLatin1String(".md"), Qt::CaseInsensitive))
        path.insert(path.size() - 3, u'.' + language);
    QUrl localized = url;
    localized.setPath(path, QUrl::DecodedMode);
    return localized;
}

QNetworkRequest ReleaseNotesFetcher::makeRequest(const QUrl &url, const QString &tag)
{
    return feedRequest(url, tag);
}

void ReleaseNotesFetcher::start()
{
    if (m_localizedNotesUrl.isValid() && !m_localizedNotesUrl.isEmpty())
        fetch(m_localizedNotesUrl, true);
    else
        fetch(m_notesUrl, false);
}

void ReleaseNotesFetcher::fetch(const QUrl &url, bool fallBackToUntranslated)
{
    if (!isWebUrl(url)) {
        // The address comes from the feed; the network layer would also read file: and qrc:.
        qCWarning(lcLarkUpdate).noquote()
            << "[LarkUpgrade] release notes address is not http or https, not fetched:"
            << url.toDisplayString(QUrl::RemoveUserInfo | QUrl::RemoveQuery);
        QMetaObject::invokeMethod(this, &ReleaseNotesFetcher::notesUnavailable,
                                  Qt::QueuedConnection);
        return;
    }
    QNetworkReply *reply = getFeed(m_network, url, m_tag);
    connect(reply, &QNetworkReply::finished, this, [this, reply, fallBackToUntranslated] {
        reply->deleteLater();
        const QString notes = notesFrom(reply);
        if (!notes.isEmpty())
            emit notesReady(notes);
        else if (fallBackToUntranslated)
            fetch(m_notesUrl, false);
        else
            emit notesUnavailable();
    });
}

QString ReleaseNotesFetcher::notesFrom(QNetworkReply *reply)
{
    if (reply->error() != QNetworkReply::NoError)
        return {};
    return QString::fromUtf8(Net::body(reply)).trimmed();
}

} // namespace LarkUpdate
