#pragma once

#include <QByteArray>
#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

class QLocalServer;
class QLocalSocket;

// One command for the running instance, made once from a command line or read from one line of
// the channel.
struct InstanceCommand
{
    enum class Kind { Focus, ShowToday, NewEvent, QuickAdd, OpenIcs };

    Kind kind = Kind::Focus;
    // Each stays once an option gave it, also when a later option changed the kind.
    std::optional<QString> text;
    std::optional<QString> path; // always absolute when made from a command line

    // The arguments after the program path, left to right; a later option wins.
    static InstanceCommand fromArguments(const QStringList &arguments);
    // Null when the line is not one JSON object; "error" then says why.
    static std::optional<InstanceCommand> fromLine(const QByteArray &line, QString *error);
    // One compact JSON object and a line feed.
    QByteArray toLine() const;
};

// One instance per user: a second start hands its command line to the running instance over a
// local socket in the user's private runtime folder and ends. Each command is one compact JSON
// object on one line, e.g.
//     {"cmd":"quick-add","text":"Lunch with Sam 12:30"}\n
// with "cmd" one of "focus", "show-today", "new-event", "quick-add" (with "text") or "open-ics"
// (with "path", always absolute). The running instance turns each line into one request signal
// and answers it with one line: "0" when it took the command, "1" when it did not.
// Both ends talk only to a process of the same user.
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
    // How long a second start waits for the running instance to say whether it took the
    // command: a quick add may wait a moment for another program's write first.
    static constexpr int kAnswerWaitMs = 10000;

    explicit SingleInstance(QObject *parent = nullptr);

    // "larkspindle-calendar-<home folder name>", with "-<instance>" for a named instance.
    static QString serverName();
    // The socket: serverName() in privateRuntimeDirectory(); empty when there is no such folder.
    static QString serverPath();
    // The command for a command line (program path first), as the line that is sent.
    static QByteArray buildCommand(const QStringList &arguments);

    // forward, then listen where nobody took the command.
    [[nodiscard]] Outcome forwardOrListen(const InstanceCommand &command);
    [[nodiscard]] Outcome forwardOrListen(const QStringList &arguments);
    // The exit code that ends a start which handed its command over (0) or could not (1); none
    // for Serving.
    static std::optional<int> exitCodeOf(Outcome outcome);
    // Hands the command to the running instance; Serving when none of ours answers (nothing was
    // sent): this process is to become it, and listens once it can carry commands out.
    [[nodiscard]] Outcome forward(const InstanceCommand &command);
    // Takes the channel: second starts hand their commands here from now on.
    void listen();
    // Tells second starts of this user that the process holding the data folder is still
    // coming up (it waits for the database), so that they wait for it to listen instead of
    // refusing; listen() ends it.
    void announceStart();
    // A start of this user announces that it is coming up.
    static bool holderIsStarting();
    // Null until this instance serves.
    QLocalServer *server() const { return m_server; }

    // Carries out a quick add at once and says whether it was taken (stored, or kept to be
    // stored): the second start that handed it over is answered 1 when it was not. Without
    // one, quickAddRequested is emitted and the line counts as taken.
    void setQuickAddTaker(std::function<bool(const QString &text)> taker)
    {
        m_quickAddTaker = std::move(taker);
    }

    // Emits the one request signal for the command; false when it was not taken.
    bool dispatch(const InstanceCommand &command);
    // Parses one line and dispatches it; anything unreadable focuses the window.
    bool dispatchCommand(const QByteArray &jsonLine);

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
    QLocalServer *m_starting = nullptr;
    std::function<bool(const QString &)> m_quickAddTaker;
};
