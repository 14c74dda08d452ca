#include "support/FakeHttpServer.h"

#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

namespace LarkTest {

namespace {

constexpr int kMaxHeaderBytes = 64 * 1024;

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 201: return "Created";
    case 204: return "No Content";
    case 207: return "Multi-Status";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 304: return "Not Modified";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 409: return "Conflict";
    case 410: return "Gone";
    case 412: return "Precondition Failed";
    case 429: return "Too Many Requests";
    case 500: return "Internal Server Error";
    case 502: return "Bad Gateway";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

} // namespace

QByteArray RecordedRequest::header(const QByteArray &name) const
{
    for (const auto &h : headers) {
        if (h.first.compare(name, Qt::CaseInsensitive) == 0)
            return h.second;
    }
    return {};
}

bool RecordedRequest::hasHeader(const QByteArray &name) const
{
    for (const auto &h : headers) {
        if (h.first.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QList<QPair<QString, QString>> RecordedRequest::formItems() const
{
    const auto decode = [](QByteArray text) {
        text.replace('+', ' ');
        return QString::fromUtf8(QByteArray::fromPercentEncoding(text));
    };
    QList<QPair<QString, QString>> items;
    for (const QByteArray &pair : body.split('&')) {
        if (pair.isEmpty())
            continue;
        const qsizetype eq = pair.indexOf('=');
        items.append({decode(eq < 0 ? pair : pair.left(eq)),
                      eq < 0 ? QString() : decode(pair.mid(eq + 1))});
    }
    return items;
}

QString RecordedRequest::formValue(const QString &key) const
{
    for (const auto &item : formItems()) {
        if (item.first == key)
            return item.second;
    }
    return {};
}

FakeReply FakeReply::json(int status, const QJsonValue &value)
{
    FakeReply r;
    r.status = status;
    if (value.isObject())
        r.body = QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
    else if (value.isArray())
        r.body = QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact);
    else
        r.body = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact).mid(1).chopped(1);
    r.headers.append(qMakePair(QByteArray("Content-Type"), QByteArray("application/json")));
    return r;
}

FakeReply FakeReply::text(int status, const QByteArray &body, const QByteArray &contentType)
{
    FakeReply r;
    r.status = status;
    r.body = body;
    r.headers.append(qMakePair(QByteArray("Content-Type"), contentType));
    return r;
}

FakeReply FakeReply::empty(int status)
{
    FakeReply r;
    r.status = status;
    return r;
}

FakeReply FakeReply::dropped()
{
    FakeReply r;
    r.drop = true;
    return r;
}

FakeReply &FakeReply::withHeader(const QByteArray &name, const QByteArray &value)
{
    headers.append(qMakePair(name, value));
    return *this;
}

FakeReply &FakeReply::held()
{
    hold = true;
    return *this;
}

FakeReply &FakeReply::delayed(int ms)
{
    delayMs = ms;
    return *this;
}

FakeReply &FakeReply::trickled(int everyMs)
{
    trickleMs = everyMs;
    return *this;
}

FakeReply &FakeReply::cutShort(qint64 length)
{
    announced = length;
    return *this;
}

FakeReply &FakeReply::stalled(qint64 length)
{
    announced = length;
    stall = true;
    return *this;
}

FakeReply &FakeReply::endlessly()
{
    endless = true;
    return *this;
}

FakeHttpServer::FakeHttpServer(QObject *parent) : QObject(parent)
{
    qRegisterMetaType<LarkTest::RecordedRequest>();
    connect(&m_server, &QTcpServer::newConnection, this, &FakeHttpServer::onNewConnection);
}

FakeHttpServer::~FakeHttpServer()
{
    // The sockets are the server's children and outlive our members: cut them loose first.
    for (auto &entry : m_buffers)
        entry.first->disconnect(this);
    m_server.close();
}

bool FakeHttpServer::listen(quint16 port)
{
    return m_server.listen(QHostAddress::LocalHost, port);
}

quint16 FakeHttpServer::port() const
{
    return m_server.serverPort();
}

QUrl FakeHttpServer::url(const QString &path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path));
}

void FakeHttpServer::route(const QByteArray &method, const QString &path, Handler handler)
{
    m_routes.append({method, path, std::move(handler)});
}

void FakeHttpServer::route(const QByteArray &method, const QString &path, const FakeReply &reply)
{
    route(method, path, [reply](const RecordedRequest &) { return reply; });
}

void FakeHttpServer::setFallback(Handler handler)
{
    m_fallback = std::move(handler);
}

QList<RecordedRequest> FakeHttpServer::requestsTo(const QByteArray &method,
                                                  const QString &path) const
{
    QList<RecordedRequest> out;
    for (const auto &r : m_requests) {
        if (r.method == method && r.path == path)
            out.append(r);
    }
    return out;
}

int FakeHttpServer::releaseHeld()
{
    const QList<Held> held = std::exchange(m_held, {});
    int sent = 0;
    for (const Held &h : held) {
        if (h.socket) {
            FakeReply reply = h.reply;
            reply.hold = false;
            send(h.socket, reply, h.keepAlive);
            ++sent;
        }
    }
    return sent;
}

int FakeHttpServer::heldCount() const
{
    return int(m_held.size());
}

void FakeHttpServer::onNewConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        m_buffers[socket];
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_buffers.erase(socket);
            socket->deleteLater();
        });
    }
}

void FakeHttpServer::onReadyRead(QTcpSocket *socket)
{
    auto it = m_buffers.find(socket);
    if (it == m_buffers.end())
        return;
    it->second.append(socket->readAll());
    for (;;) {
        RecordedRequest request;
        bool keepAlive = true;
        it = m_buffers.find(socket);
        if (it == m_buffers.end())
            return;
        bool bad = false;
        if (!takeRequest(it->second, request, keepAlive, bad)) {
            // Aborting emits disconnected at once, which forgets the buffer: do it last.
            if (bad)
                socket->abort();
            return;
        }
        m_requests.append(request);
        emit requestReceived(request);
        FakeReply reply = answer(request);
        if (reply.delayMs == 0)
            reply.delayMs = answerDelayMs;
        if (reply.drop) {
            socket->abort();
            return;
        }
        if (reply.hold) {
            m_held.append({QPointer<QTcpSocket>(socket), reply, keepAlive});
            continue;
        }
        if (reply.delayMs > 0) {
            QPointer<QTcpSocket> guard(socket);
            QTimer::singleShot(reply.delayMs, this, [this, guard, reply, keepAlive] {
                if (guard)
                    send(guard, reply, keepAlive);
            });
            continue;
        }
        send(socket, reply, keepAlive);
    }
}

// Takes one complete request off the front of the buffer; false while it is incomplete.
bool FakeHttpServer::takeRequest(QByteArray &buffer, RecordedRequest &out, bool &keepAlive,
                                 bool &bad)
{
    const int headerEnd = int(buffer.indexOf("\r\n\r\n"));
    if (headerEnd < 0) {
        if (buffer.size() > kMaxHeaderBytes) {
            m_errors.append(QStringLiteral("header block too long"));
            bad = true;
        }
        return false;
    }
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    if (requestLine.size() != 3 || !requestLine[2].startsWith("HTTP/1.")) {
        m_errors.append(QStringLiteral("malformed request line: ")
                        + QString::fromLatin1(lines.value(0).left(200)));
        bad = true;
        return false;
    }
    out.method = requestLine[0];
    out.target = requestLine[1];
    const bool http10 = requestLine[2] == "HTTP/1.0";
    for (int i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const int colon = int(line.indexOf(':'));
        if (colon <= 0) {
            m_errors.append(QStringLiteral("malformed header line"));
            continue;
        }
        out.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
    }

    const QByteArray connection = out.header("Connection").toLower();
    keepAlive = http10 ? connection == "keep-alive" : connection != "close";

    qsizetype pos = headerEnd + 4;
    if (out.header("Transfer-Encoding").toLower().contains("chunked")) {
        QByteArray body;
        for (;;) {
            const qsizetype lineEnd = buffer.indexOf("\r\n", pos);
            if (lineEnd < 0)
                return false;
            bool ok = false;
            const qint64 size = buffer.mid(pos, lineEnd - pos).split(';').value(0).trimmed().toLongLong(&ok, 16);
            if (!ok || size < 0) {
                m_errors.append(QStringLiteral("malformed chunk size"));
                bad = true;
                return false;
            }
            if (buffer.size() < lineEnd + 2 + size + 2)
                return false;
            if (size == 0) {
                // Skip trailers up to the empty line.
                const qsizetype end = buffer.indexOf("\r\n\r\n", lineEnd);
                if (end < 0)
                    return false;
                pos = end + 4;
                break;
            }
            body.append(buffer.mid(lineEnd + 2, size));
            pos = lineEnd + 2 + size + 2;
        }
        out.body = body;
    } else {
        bool ok = true;
        const QByteArray lengthText = out.header("Content-Length");
        const qint64 length = lengthText.isEmpty() ? 0 : lengthText.toLongLong(&ok);
        if (!ok || length < 0) {
            m_errors.append(QStringLiteral("malformed Content-Length"));
            bad = true;
            return false;
        }
        if (buffer.size() - pos < length)
            return false;
        out.body = buffer.mid(pos, length);
        pos += length;
    }
    buffer.remove(0, pos);

    const QUrl url = QUrl::fromEncoded(QByteArray("http://127.0.0.1") + out.target);
    out.path = url.path(QUrl::FullyDecoded);
    out.query = QUrlQuery(url.query(QUrl::FullyEncoded));
    return true;
}

FakeReply FakeHttpServer::answer(const RecordedRequest &request) const
{
    for (auto it = m_routes.crbegin(); it != m_routes.crend(); ++it) {
        if (it->method != "*" && it->method != request.method)
            continue;
        const bool prefix = it->path.endsWith(QLatin1Char('*'));
        const bool match = prefix ? request.path.startsWith(it->path.chopped(1))
                                  : request.path == it->path;
        if (match)
            return it->handler(request);
    }
    if (m_fallback)
        return m_fallback(request);
    return FakeReply::text(404, "not found");
}

void FakeHttpServer::send(QTcpSocket *socket, const FakeReply &reply, bool keepAlive)
{
    if (socket->state() != QAbstractSocket::ConnectedState)
        return;
    QByteArray out = "HTTP/1.1 " + QByteArray::number(reply.status) + ' '
        + (reply.reason.isEmpty() ? reasonPhrase(reply.status) : reply.reason) + "\r\n";
    bool hasLength = reply.endless;
    for (const auto &h : reply.headers) {
        if (h.first.compare("Content-Length", Qt::CaseInsensitive) == 0)
            hasLength = true;
        out += h.first + ": " + h.second + "\r\n";
    }
    if (!hasLength)
        out += "Content-Length: "
            + QByteArray::number(reply.announced >= 0 ? reply.announced : reply.body.size())
            + "\r\n";
    out += keepAlive ? "Connection: keep-alive\r\n" : "Connection: close\r\n";
    if (reply.endless) {
        socket->write(out + "Transfer-Encoding: chunked\r\n\r\n");
        sendEndlessly(socket,
                      QByteArray::number(reply.body.size(), 16) + "\r\n" + reply.body + "\r\n");
        return;
    }
    out += "\r\n";
    if (reply.trickleMs > 0 && !reply.body.isEmpty()) {
        socket->write(out);
        // Never silent for long, never done soon: only a total deadline ends such a reply.
        auto *tick = new QTimer(socket);
        auto sent = std::make_shared<qsizetype>(0);
        connect(tick, &QTimer::timeout, socket, [socket, tick, sent, reply, keepAlive] {
            socket->write(reply.body.mid((*sent)++, 1));
            if (*sent < reply.body.size())
                return;
            tick->stop();
            if (!keepAlive)
                socket->disconnectFromHost();
        });
        tick->start(reply.trickleMs);
        return;
    }
    out += reply.body;
    socket->write(out);
    if (reply.stall)
        return;
    // A body shorter than announced is cut short by the close.
    if (!keepAlive || reply.announced > reply.body.size())
        socket->disconnectFromHost();
}

void FakeHttpServer::sendEndlessly(QTcpSocket *socket, const QByteArray &chunk)
{
    // Topped up whenever the kernel took what was written: as fast as the client reads.
    const auto topUp = [socket, chunk] {
        while (socket->bytesToWrite() < 4 * chunk.size())
            socket->write(chunk);
    };
    connect(socket, &QTcpSocket::bytesWritten, socket, topUp);
    topUp();
}

} // namespace LarkTest
