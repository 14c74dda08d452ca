#include "support/CalDavServers.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSslCertificate>

namespace LarkTest {

namespace {

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size();
}

// The Debian package's program, whatever python the PATH prefers.
QString program(const QString &name)
{
    const QString packaged = QStringLiteral("/usr/bin/") + name;
    return QFile::exists(packaged) ? packaged : name;
}

} // namespace

TlsFiles makeSelfSignedCertificate(const QString &dir)
{
    TlsFiles files;
    const QString cert = dir + QStringLiteral("/cert.pem");
    const QString key = dir + QStringLiteral("/key.pem");
    QProcess openssl;
    openssl.setProcessChannelMode(QProcess::MergedChannels);
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                   QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                   QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                   QStringLiteral("-keyout"), key, QStringLiteral("-out"), cert,
                   QStringLiteral("-days"), QStringLiteral("30"), QStringLiteral("-subj"),
                   QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"),
                   QStringLiteral("subjectAltName=IP:127.0.0.1")});
    if (!openssl.waitForFinished(15000) || openssl.exitCode() != 0) {
        qWarning("openssl failed: %s", openssl.readAll().constData());
        return files;
    }
    const QList<QSslCertificate> certs = QSslCertificate::fromPath(cert);
    if (certs.isEmpty())
        return files;
    files.certificate = cert;
    files.key = key;
    files.sha256 = QString::fromLatin1(certs.first().digest(QCryptographicHash::Sha256).toHex());
    return files;
}

bool startRadicale(ServerProcess &server, const QString &dir, const QString &user,
                   const QString &password, const QList<RadicaleCalendar> &calendars,
                   const TlsFiles &tls)
{
    const QString storage = dir + QStringLiteral("/radicale");
    const QString users = dir + QStringLiteral("/users");
    if (!writeFile(users, QString(user + QLatin1Char(':') + password + u'\n').toUtf8()))
        return false;
    for (const RadicaleCalendar &c : calendars) {
        const QString folder
            = storage + QStringLiteral("/collection-root/") + user + QLatin1Char('/') + c.name;
        QJsonObject props {{QStringLiteral("tag"), QStringLiteral("VCALENDAR")}};
        if (!c.displayName.isEmpty())
            props.insert(QStringLiteral("D:displayname"), c.displayName);
        if (!c.color.isEmpty())
            props.insert(QStringLiteral("ICAL:calendar-color"), c.color);
        if (!c.description.isEmpty())
            props.insert(QStringLiteral("C:calendar-description"), c.description);
        if (!c.components.isEmpty())
            props.insert(QStringLiteral("C:supported-calendar-component-set"),
                         c.components.join(QLatin1Char(',')));
        if (!QDir().mkpath(folder)
            || !writeFile(folder + QStringLiteral("/.Radicale.props"),
                          QJsonDocument(props).toJson(QJsonDocument::Compact)))
            return false;
    }
    // "-C" with no files keeps the system's configuration (which wants another login) out.
    QStringList args {QStringLiteral("-C"),
                      QStringLiteral("--server-hosts"),
                      QStringLiteral("127.0.0.1:%PORT%"),
                      QStringLiteral("--auth-type"),
                      QStringLiteral("htpasswd"),
                      QStringLiteral("--auth-htpasswd-filename"),
                      users,
                      QStringLiteral("--auth-htpasswd-encryption"),
                      QStringLiteral("plain"),
                      QStringLiteral("--auth-delay"),
                      QStringLiteral("0"),
                      QStringLiteral("--rights-type"),
                      QStringLiteral("owner_only"),
                      QStringLiteral("--storage-filesystem-folder"),
                      storage,
                      QStringLiteral("--logging-level"),
                      QStringLiteral("warning")};
    if (!tls.certificate.isEmpty())
        args << QStringLiteral("--server-ssl") << QStringLiteral("True")
             << QStringLiteral("--server-certificate") << tls.certificate
             << QStringLiteral("--server-key") << tls.key;
    return server.start(program(QStringLiteral("radicale")), args);
}

bool startXandikos(ServerProcess &server, const QString &dir)
{
    return server.start(program(QStringLiteral("xandikos")),
                        {QStringLiteral("-d"), dir + QStringLiteral("/xandikos"),
                         QStringLiteral("--defaults"), QStringLiteral("-l"),
                         QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                         QStringLiteral("%PORT%")});
}

QUrl serverUrl(const ServerProcess &server, const QString &path, bool https)
{
    QUrl url;
    url.setScheme(https ? QStringLiteral("https") : QStringLiteral("http"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(server.port());
    url.setPath(path);
    return url;
}

} // namespace LarkTest
