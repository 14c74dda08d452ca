#pragma once

// The first line of a request that a browser sends to one of our loopback sign-in listeners.
// Any local process can connect there, so a connection gets a limited time and a limited size
// to deliver its line: one that idles or floods is dropped and costs nothing more.

#include <QByteArray>

#include <functional>

class QObject;
class QTcpSocket;

namespace Net {

// The time a connection may take to send its line.
constexpr int defaultListenerIdleMs = 5000;

// Calls handle once with the request line without its line end, or with an empty line when the
// line grew past maxBytes. A connection that has not sent its line within idleMs is closed
// without a call. Bytes after the line are read and dropped.
void readRequestLine(QTcpSocket *socket, QObject *context, int idleMs, qsizetype maxBytes,
                     std::function<void(QTcpSocket *, const QByteArray &)> handle);

} // namespace Net
