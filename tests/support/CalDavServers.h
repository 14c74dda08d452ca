#pragma once

// Debian's real CalDAV servers, started for a test on free loopback ports with their storage in
// a folder the test owns.

#include "support/ServerProcess.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace LarkTest {

// A calendar collection made in radicale's storage before it starts.
struct RadicaleCalendar
{
    QString name; // the collection's path segment below the user
    QString displayName; // empty: none
    QString color;
    QString description;
    QStringList components; // empty: the server's default
};

struct TlsFiles
{
    QString certificate;
    QString key;
    QString sha256; // lower-case hex of the certificate's SHA-256 digest
};

// A self-signed certificate for 127.0.0.1 made with openssl in dir; empty on failure.
TlsFiles makeSelfSignedCertificate(const QString &dir);

// Radicale with htpasswd (plain) users and filesystem storage below dir; https when tls has
// files. The server's address is then serverUrl(server, tls).
[[nodiscard]] bool startRadicale(ServerProcess &server, const QString &dir, const QString &user,
                                 const QString &password, const QList<RadicaleCalendar> &calendars,
                                 const TlsFiles &tls = {});

// Xandikos serving dir without authentication, with its default principal "/user/" and the
// calendar "/user/calendars/calendar/".
[[nodiscard]] bool startXandikos(ServerProcess &server, const QString &dir);

QUrl serverUrl(const ServerProcess &server, const QString &path = QStringLiteral("/"),
               bool https = false);

} // namespace LarkTest
