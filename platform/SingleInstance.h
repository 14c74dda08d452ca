#pragma once

#include <QByteArray>
#include <QObject>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

// One instance per user: a second start hands its command line to the running instance over a
// per-user local socket and ends. Each command is one compact JSON object on one line, e.g.
//     {"cmd":"quick-add","text":"Lunch with Sam 12:30"}\n
// with "cmd" one of "focus", "show-today", "new-event", "quick-add" (with "text") or "open-ics"
// (with "path", always absolute). The running instance turns each line into one request signal.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    enum class Outcome {
        Serving, // this process is the running instance now (or tried to become it)
        Forwarded, // the running instance took the command line: end with exit code 0
        ForwardFailed, // a running instance exists but did not get it (logged): exit code 1
    };

    // Longest line taken, line feed not counted; longer ones would be refused by the receiver.
    static constexpr qsizetype kMaxLineBytes = 64 * 1024;
    static constexpr int kWaitMs = 800;

    explicit SingleInstance(QObject *parent = nullptr);

    // "larkspindle-calendar-<home folder name>", with "-<instance>" for a named instance.
    static QString serverName();
    // The command for a command line (program path first), as the line that is sent.
    static QByteArray buildCommand(const QStringList &arguments);

    [[nodiscard]] Outcome forwardOrListen(const QStringList &arguments);
    // Null until this instance serves.
    QLocalServer *server() const { return m_server; }

    // Parses one line and emits one request signal; anything unreadable focuses the window.
    Q_INVOKABLE void dispatchCommand(const QByteArray &jsonLine);

signals:
    void focusRequested();
    void showTodayRequested();
    void newEventRequested();
    void quickAddRequested(const QString &text);
    void openIcsRequested(const QString &path);

private slots:
    void onNewConnection();

private:
    void readLines(QLocalSocket *socket);

    QLocalServer *m_server = nullptr;
};
