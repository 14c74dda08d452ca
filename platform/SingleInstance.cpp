#include "platform/SingleInstance.h"

#include "platform/DataPaths.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>

#include <sys/socket.h>
#include <unistd.h>

namespace {

const auto kCmd = QStringLiteral("cmd");
const auto kText = QStringLiteral("text");
const auto kPath = QStringLiteral("path");

struct KindName
{
    InstanceCommand::Kind kind;
    QLatin1String name;
};

constexpr KindName kKindNames[] = {
    {InstanceCommand::Kind::Focus, QLatin1String("focus")},
    {InstanceCommand::Kind::ShowToday, QLatin1String("show-today")},
    {InstanceCommand::Kind::NewEvent, QLatin1String("new-event")},
    {InstanceCommand::Kind::QuickAdd, QLatin1String("quick-add")},
    {InstanceCommand::Kind::OpenIcs, QLatin1String("open-ics")},
};

// The user id of the process at the other end of a local socket; null when it cannot be told.
std::optional<uid_t> peerUserId(const QLocalSocket &socket)
{
    ucred credentials {};
    socklen_t size = sizeof credentials;
    const qintptr descriptor = socket.socketDescriptor();
    if (descriptor < 0
        || ::getsockopt(int(descriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0)
        return std::nullopt;
    return credentials.uid;
}

QByteArray describe(std::optional<uid_t> user)
{
    return user ? QByteArray::number(*user) : QByteArray("unknown");
}

// The receiving instance has its own working directory, so relative paths are resolved here.
QString absolutePath(const QString &path)
{
    if (path.isEmpty() || QFileInfo(path).isAbsolute())
        return path;
    return QDir::current().absoluteFilePath(path);
}

// Writes one line, waits for the answer and disconnects; the reason when not every byte was
// written, or the receiver did not take the command.
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
    QString error = written ? QString() : socket.errorString();
    if (written) {
        // From an event loop, not a blocking wait, so that a receiver on this same thread
        // can answer too.
        QEventLoop loop;
        const auto look = [&socket, &loop] {
            if (socket.canReadLine() || socket.state() != QLocalSocket::ConnectedState)
                loop.quit();
        };
        QObject::connect(&socket, &QLocalSocket::readyRead, &loop, look);
        QObject::connect(&socket, &QLocalSocket::disconnected, &loop, &QEventLoop::quit);
        QTimer::singleShot(SingleInstance::kAnswerWaitMs, &loop, &QEventLoop::quit);
        if (!socket.canReadLine() && socket.state() == QLocalSocket::ConnectedState)
            loop.exec();
        const QByteArray answer = socket.canReadLine() ? socket.readLine().trimmed() : QByteArray();
        if (answer.isEmpty())
            error = QStringLiteral("no answer");
        else if (answer != "0")
            error = QStringLiteral("it could not carry the command out");
    }
    socket.disconnectFromServer();
    if (written && socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(int(deadline.remainingTime()));
    return error;
}

// Beside the channel's socket: a start that holds the data folder and cannot take commands yet.
QString startingPath()
{
    const QString path = SingleInstance::serverPath();
    return path.isEmpty() ? path : path + QStringLiteral(".starting");
}

} // namespace

SingleInstance::SingleInstance(QObject *parent)
    : QObject(parent)
{ }

InstanceCommand InstanceCommand::fromArguments(const QStringList &arguments)
{
    const auto quickAddPrefix = QStringLiteral("--quick-add=");
    InstanceCommand command;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &arg = arguments.at(i);
        const bool hasNext = i + 1 < arguments.size();
        if (arg == QLatin1String("--show-today")) {
            command.kind = Kind::ShowToday;
        } else if (arg == QLatin1String("--new-event")) {
            command.kind = Kind::NewEvent;
        } else if (arg == QLatin1String("--quick-add") && hasNext) {
            command.kind = Kind::QuickAdd;
            command.text = arguments.at(++i);
        } else if (arg.startsWith(quickAddPrefix)) {
            command.kind = Kind::QuickAdd;
            command.text = arg.mid(quickAddPrefix.size());
        } else if (arg == QLatin1String("--ics") && hasNext) {
            command.kind = Kind::OpenIcs;
            command.path = absolutePath(arguments.at(++i));
        } else if (arg.endsWith(QLatin1String(".ics"), Qt::CaseInsensitive)
                   && QFileInfo(arg).isFile()) {
            command.kind = Kind::OpenIcs;
            command.path = absolutePath(arg);
        }
    }
    return command;
}

std::optional<InstanceCommand> InstanceCommand::fromLine(const QByteArray &line, QString *error)
{
    QJsonParseError parseError {};
    const QJsonDocument doc = QJsonDocument::fromJson(line, &parseError);
    if (parseError.error != QJsonParseError::NoError || !doc.isObject()) {
        if (error)
            *error = parseError.error != QJsonParseError::NoError
                ? parseError.errorString()
                : QStringLiteral("not a JSON object");
        return std::nullopt;
    }
    const QJsonObject object = doc.object();
    InstanceCommand command;
    const QString cmd = object.value(kCmd).toString();
    for (const KindName &entry : kKindNames) {
        if (cmd == entry.name)
            command.kind = entry.kind;
    }
    if (object.contains(kText))
        command.text = object.value(kText).toString();
    if (object.contains(kPath))
        command.path = object.value(kPath).toString();
    return command;
}

QByteArray InstanceCommand::toLine() const
{
    QJsonObject object;
    for (const KindName &entry : kKindNames) {
        if (entry.kind == kind)
            object.insert(kCmd, QString(entry.name));
    }
    if (text)
        object.insert(kText, *text);
    if (path)
        object.insert(kPath, *path);
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

QString SingleInstance::serverName()
{
    QString name = QStringLiteral("larkspindle-calendar-")
        + QFileInfo(QStandardPaths::writableLocation(QStandardPaths::HomeLocation)).fileName();
    const QString instance = instanceName();
    if (!instance.isEmpty())
        name += QLatin1Char('-') + instance;
    return name;
}

QString SingleInstance::serverPath()
{
    const QString folder = privateRuntimeDirectory();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + serverName();
}

QByteArray SingleInstance::buildCommand(const QStringList &arguments)
{
    return InstanceCommand::fromArguments(arguments).toLine();
}

SingleInstance::Outcome SingleInstance::forwardOrListen(const QStringList &arguments)
{
    return forwardOrListen(InstanceCommand::fromArguments(arguments));
}

SingleInstance::Outcome SingleInstance::forwardOrListen(const InstanceCommand &command)
{
    const Outcome outcome = forward(command);
    if (outcome == Outcome::Serving)
        listen();
    return outcome;
}

std::optional<int> SingleInstance::exitCodeOf(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Forwarded:
        return 0;
    case Outcome::ForwardFailed:
        return 1;
    case Outcome::Serving:
        break;
    }
    return std::nullopt;
}

SingleInstance::Outcome SingleInstance::forward(const InstanceCommand &command)
{
    // A socket by a well-known name in a shared folder could be made first by another user, who
    // would then receive our command lines; ours lives in a folder only we can enter.
    QString problem;
    const QString folder = privateRuntimeDirectory(&problem);
    if (folder.isEmpty()) {
        qWarning("[SingleInstance] no private folder for the socket (%s); running without the "
                 "single-instance channel",
                 qUtf8Printable(problem));
        return Outcome::Serving;
    }
    const QString path = folder + QLatin1Char('/') + serverName();
    {
        QLocalSocket socket;
        socket.connectToServer(path, QIODevice::ReadWrite);
        if (socket.waitForConnected(kWaitMs)) {
            const std::optional<uid_t> peer = peerUserId(socket);
            if (peer == ::geteuid()) {
                const QString error = send(socket, command.toLine());
                if (error.isEmpty())
                    return Outcome::Forwarded;
                qWarning("[SingleInstance] the running instance did not take the command line: %s",
                         qUtf8Printable(error));
                return Outcome::ForwardFailed;
            }
            qWarning("[SingleInstance] %s is served by another user (user id %s); the command "
                     "line is not handed over and this process starts as the first instance",
                     qUtf8Printable(path), describe(peer).constData());
            socket.abort();
        }
    }

    return Outcome::Serving;
}

void SingleInstance::announceStart()
{
    const QString path = startingPath();
    if (path.isEmpty() || m_starting || m_server)
        return;
    QLocalServer::removeServer(path);
    m_starting = new QLocalServer(this);
    m_starting->setSocketOptions(QLocalServer::UserAccessOption);
    // Reaching it is the whole message.
    connect(m_starting, &QLocalServer::newConnection, m_starting, [server = m_starting] {
        while (QLocalSocket *socket = server->nextPendingConnection()) {
            socket->abort();
            socket->deleteLater();
        }
    });
    if (!m_starting->listen(path))
        qWarning("[SingleInstance] failed to listen on %s: %s", qUtf8Printable(path),
                 qUtf8Printable(m_starting->errorString()));
}

bool SingleInstance::holderIsStarting()
{
    const QString path = startingPath();
    if (path.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(path, QIODevice::ReadOnly);
    return socket.waitForConnected(kWaitMs) && peerUserId(socket) == ::geteuid();
}

void SingleInstance::listen()
{
    delete m_starting;
    m_starting = nullptr;
    const QString folder = privateRuntimeDirectory();
    if (folder.isEmpty() || m_server)
        return;
    const QString path = folder + QLatin1Char('/') + serverName();
    // Nobody of ours answered: a socket file left by a crashed instance, or one that is not
    // ours, would block listening.
    QLocalServer::removeServer(path);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    if (!m_server->listen(path))
        qWarning("[SingleInstance] failed to listen on %s: %s", qUtf8Printable(path),
                 qUtf8Printable(m_server->errorString()));
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        const std::optional<uid_t> peer = peerUserId(*socket);
        if (peer != ::geteuid()) {
            qWarning("[SingleInstance] refused a connection from another user (user id %s)",
                     describe(peer).constData());
            socket->abort();
            socket->deleteLater();
            continue;
        }
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
                const QPointer<QLocalSocket> alive(socket);
                const bool taken = dispatchCommand(line);
                if (!alive)
                    return;
                socket->write(taken ? "0\n" : "1\n");
                socket->flush();
                continue;
            }
        }
        qWarning("[SingleInstance] command line longer than 64 KiB refused; connection closed");
        socket->abort();
        return;
    }
}

bool SingleInstance::dispatch(const InstanceCommand &command)
{
    switch (command.kind) {
    case InstanceCommand::Kind::Focus:
        emit focusRequested();
        break;
    case InstanceCommand::Kind::ShowToday:
        emit showTodayRequested();
        break;
    case InstanceCommand::Kind::NewEvent:
        emit newEventRequested();
        break;
    case InstanceCommand::Kind::QuickAdd:
        if (m_quickAddTaker)
            return m_quickAddTaker(command.text.value_or(QString()));
        emit quickAddRequested(command.text.value_or(QString()));
        break;
    case InstanceCommand::Kind::OpenIcs:
        emit openIcsRequested(command.path.value_or(QString()));
        break;
    }
    return true;
}

bool SingleInstance::dispatchCommand(const QByteArray &jsonLine)
{
    QString error;
    const std::optional<InstanceCommand> command = InstanceCommand::fromLine(jsonLine, &error);
    if (!command) {
        qWarning("[SingleInstance] bad command: %s", qUtf8Printable(error));
        emit focusRequested();
        return true;
    }
    return dispatch(*command);
}
