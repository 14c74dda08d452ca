#include "platform/SingleInstance.h"

#include "platform/DataPaths.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

// The receiving instance has its own working directory, so relative paths are resolved here.
QString absolutePath(const QString &path)
{
    if (path.isEmpty() || QFileInfo(path).isAbsolute())
        return path;
    return QDir::current().absoluteFilePath(path);
}

// Writes one line and disconnects; the reason when not every byte was written.
QString send(QLocalSocket &socket, const QByteArray &line)
{
    // The receiver refuses longer lines, so they are not sent at all.
    if (line.size() - 1 > SingleInstance::kMaxLineBytes) {
        socket.disconnectFromServer();
        return QStringLiteral("the command is longer than 64 KiB");
    }
    const QDeadlineTimer deadline(SingleInstance::kWaitMs);
    bool written = socket.write(line) == line.size();
    socket.flush();
    while (written && socket.bytesToWrite() > 0)
        written = socket.waitForBytesWritten(int(deadline.remainingTime()));
    const QString error = written ? QString() : socket.errorString();
    socket.disconnectFromServer();
    if (written && socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(int(deadline.remainingTime()));
    return error;
}

} // namespace

SingleInstance::SingleInstance(QObject *parent)
    : QObject(parent)
{ }

QString SingleInstance::serverName()
{
    QString name = QStringLiteral("larkspindle-calendar-")
        + QFileInfo(QStandardPaths::writableLocation(QStandardPaths::HomeLocation)).fileName();
    const QString instance = instanceName();
    if (!instance.isEmpty())
        name += QLatin1Char('-') + instance;
    return name;
}

QByteArray SingleInstance::buildCommand(const QStringList &arguments)
{
    const auto cmd = QStringLiteral("cmd");
    const auto quickAddPrefix = QStringLiteral("--quick-add=");
    QJsonObject command {{cmd, QStringLiteral("focus")}};
    // A later option overrides "cmd"; keys set by earlier ones stay in the object.
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &arg = arguments.at(i);
        const bool hasNext = i + 1 < arguments.size();
        if (arg == QLatin1String("--show-today")) {
            command.insert(cmd, QStringLiteral("show-today"));
        } else if (arg == QLatin1String("--new-event")) {
            command.insert(cmd, QStringLiteral("new-event"));
        } else if (arg == QLatin1String("--quick-add") && hasNext) {
            command.insert(cmd, QStringLiteral("quick-add"));
            command.insert(QStringLiteral("text"), arguments.at(++i));
        } else if (arg.startsWith(quickAddPrefix)) {
            command.insert(cmd, QStringLiteral("quick-add"));
            command.insert(QStringLiteral("text"), arg.mid(quickAddPrefix.size()));
        } else if (arg == QLatin1String("--ics") && hasNext) {
            command.insert(cmd, QStringLiteral("open-ics"));
            command.insert(QStringLiteral("path"), absolutePath(arguments.at(++i)));
        } else if (arg.endsWith(QLatin1String(".ics"), Qt::CaseInsensitive)
                   && QFileInfo(arg).isFile()) {
            command.insert(cmd, QStringLiteral("open-ics"));
            command.insert(QStringLiteral("path"), absolutePath(arg));
        }
    }
    return QJsonDocument(command).toJson(QJsonDocument::Compact) + '\n';
}

SingleInstance::Outcome SingleInstance::forwardOrListen(const QStringList &arguments)
{
    const QString name = serverName();
    {
        QLocalSocket socket;
        socket.connectToServer(name, QIODevice::ReadWrite);
        if (socket.waitForConnected(kWaitMs)) {
            const QString error = send(socket, buildCommand(arguments));
            if (error.isEmpty())
                return Outcome::Forwarded;
            qWarning("[SingleInstance] the running instance did not take the command line: %s",
                     qUtf8Printable(error));
            return Outcome::ForwardFailed;
        }
    }

    // Nobody answered: a socket file left by a crashed instance would block listening.
    QLocalServer::removeServer(name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    if (!m_server->listen(name))
        qWarning("[SingleInstance] failed to listen on %s: %s", qUtf8Printable(name),
                 qUtf8Printable(m_server->errorString()));
    return Outcome::Serving;
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readLines(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        readLines(socket);
    }
}

void SingleInstance::readLines(QLocalSocket *socket)
{
    for (;;) {
        if (!socket->canReadLine()) {
            // A partial line already over the limit will never become acceptable.
            if (socket->bytesAvailable() <= kMaxLineBytes)
                return;
        } else {
            const QByteArray line = socket->readLine(kMaxLineBytes + 2);
            if (line.endsWith('\n') && line.size() - 1 <= kMaxLineBytes) {
                dispatchCommand(line);
                continue;
            }
        }
        qWarning("[SingleInstance] command line longer than 64 KiB refused; connection closed");
        socket->abort();
        return;
    }
}

void SingleInstance::dispatchCommand(const QByteArray &jsonLine)
{
    QJsonParseError error {};
    const QJsonDocument doc = QJsonDocument::fromJson(jsonLine, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) {
        const QString reason = error.error != QJsonParseError::NoError
            ? error.errorString()
            : QStringLiteral("not a JSON object");
        qWarning("[SingleInstance] bad command: %s", qUtf8Printable(reason));
        emit focusRequested();
        return;
    }
    const QJsonObject command = doc.object();
    const QString cmd = command.value(QStringLiteral("cmd")).toString();
    if (cmd == QLatin1String("show-today"))
        emit showTodayRequested();
    else if (cmd == QLatin1String("new-event"))
        emit newEventRequested();
    else if (cmd == QLatin1String("quick-add"))
        emit quickAddRequested(command.value(QStringLiteral("text")).toString());
    else if (cmd == QLatin1String("open-ics"))
        emit openIcsRequested(command.value(QStringLiteral("path")).toString());
    else
        emit focusRequested();
}
