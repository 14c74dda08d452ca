#include "services/net/RequestLine.h"

#include <QTcpSocket>
#include <QTimer>

#include <memory>

namespace Net {

void readRequestLine(QTcpSocket *socket, QObject *context, int idleMs, qsizetype maxBytes,
                     std::function<void(QTcpSocket *, const QByteArray &)> handle)
{
    // The whole line must arrive within the idle time, however slowly it trickles in.
    auto *idle = new QTimer(socket);
    idle->setSingleShot(true);
    QObject::connect(idle, &QTimer::timeout, socket, [socket] {
        socket->abort();
        socket->deleteLater();
    });
    idle->start(idleMs);
    auto buffer = std::make_shared<QByteArray>();
    auto done = std::make_shared<bool>(false);
    QObject::connect(socket, &QTcpSocket::readyRead, context,
                     [socket, buffer, done, idle, maxBytes, handle = std::move(handle)] {
                         if (*done) {
                             socket->readAll();
                             return;
                         }
                         buffer->append(socket->readAll());
                         qsizetype end = buffer->indexOf('\n');
                         if (end < 0 && buffer->size() <= maxBytes)
                             return;
                         *done = true;
                         idle->stop();
                         if (end < 0 || end > maxBytes) {
                             handle(socket, QByteArray());
                             return;
                         }
                         if (end > 0 && buffer->at(end - 1) == '\r')
                             --end;
                         handle(socket, buffer->left(end));
                     });
}

} // namespace Net
