#pragma once

// The application object: identity, translations, fonts, and bringing the state, the windows and
// the services up in their fixed order.

#include "platform/SingleInstance.h"

#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>
#include <QLocale>
#include <QStringList>

#include <functional>

#include <memory>
#include <optional>

class AppState;
class MainWindow;
class TrayManager;
class NotificationService;
class DataFolderLock;
struct DataFolderLockAttempt;
class QuitSignal;
class QDialog;
class QuickAddQueue;
class QWidget;
class QTranslator;
namespace Sync {
class SyncCoordinator;
}

// The UI languages the program ships: "en", "es", "de", "fr", "ja".
QStringList supportedLanguages();

// The log filter a start installs before anything logs: debug and info off, unless this is the
// development instance or the user set their own logging rules. Empty when none is installed.
QString startupLoggingRules(const QString &instance, const QByteArray &qtLoggingRules);

class Application : public QApplication
{
    // Its texts belong to "Application", not to the base class.
    Q_DECLARE_TR_FUNCTIONS(Application)

public:
    Application(int &argc, char **argv);
    ~Application() override;
    Application(const Application &) = delete;
    Application &operator=(const Application &) = delete;

    // Builds the state, the windows and the services and runs the event loop. 1 when the
    // database cannot be written, or another running program holds the data folder; 0 when the
    // system ends the program while it waits for another program's write at start.
    int run();

    // "ui/language" from the per-user settings, "system" resolved to a supported language.
    QString resolveLanguage() const;
    // The rule on its own: "system" takes the first two letters of the system locale's name
    // when they name a supported language, else "en"; any other value stands.
    static QString resolveLanguage(const QString &stored, const QString &systemLocaleName);
    void installTranslators();

    struct Translators
    {
        QTranslator *qt = nullptr;
        QTranslator *app = nullptr;
    };
    // Installs Qt's own and the program's translations for the language (each null when it does
    // not load; Qt's only for a language other than "en"), owned by owner, and makes the
    // language's locale the default so that dates and times read in it too.
    static Translators installLanguage(const QString &language, QObject *owner);
    // The locale for the language: the system's own when it speaks that language (so its region
    // stays), else the language's main one.
    static QLocale interfaceLocale(const QString &language, const QLocale &system);

    // The box that refuses a start beside the data folder's holder, or where it cannot be taken:
    // what keeps this start out (the program running elsewhere, a lock nobody can take).
    static QString refusalTitle(const DataFolderLockAttempt &lock);
    static QString refusalText(const DataFolderLockAttempt &lock, const QString &dataDir);

    // The notices a start shows while it waits: for another program's write, and for the data
    // folder's holder to take its command. Not shown yet; the caller owns them.
    // keptLine: the start's own quick add, kept for whichever start comes up first.
    static QDialog *writerNotice(const QString &keptLine = QString());
    static QDialog *holderNotice();
    // Says, while the quit waits, that waiting quick-add lines are added first.
    static QDialog *quitNotice(QWidget *parent, int lines);

    // Registers the embedded fonts and tells the theme the icon font's family.
    static void loadFonts();

    void setSingleInstance(SingleInstance *instance) { singleInstance = instance; }
    // This process's own command, handed to the window once the event loop runs.
    void setStartupCommand(const InstanceCommand &command) { startupCommand = command; }

    AppState *state() const { return appState; }
    MainWindow *window() const { return mainWindow; }
    QTranslator *qtTranslation() const { return qtTranslator; }
    QTranslator *appTranslation() const { return appTranslator; }

private:
    static constexpr int kZoneCheckIntervalMs = 60000;
    // How long a start refused beside a holder tries to hand its command line over to it, and
    // how long it waits without a word; a holder that says it is still coming up is waited for.
    static constexpr int kHolderStartWaitMs = 10000;
    static constexpr int kSilentWaitMs = 500;
    // How often a start that waits for another program's write looks again.
    static constexpr int kWriterPollMs = 250;

    // 0 or 1 (as main() answers a second start) once the holder of the data folder took or
    // refused the command line, or the user stopped waiting (1); none when nobody here took it
    // in time, or when the holder went away and lock now holds the folder.
    std::optional<int> handToStartingHolder(DataFolderLockAttempt &lock);
    // Opens the state once no other program writes, and makes what the start seeds; the exit
    // code when the start ends instead.
    std::optional<int> bringUpState();
    // Waits while another program holds the database's write lock (and, when the start met one
    // already, at least one look long); false when the system or the user ended the start.
    bool waitOutAnotherWriter(bool metOne);
    // Waits, saying so, until over() answers true; false when the system or the user ended the
    // start. The start's own quick add is kept first, and not given up in silence.
    bool waitForWriter(const std::function<bool()> &over);
    // The one wait behind a notice: over() is asked every pollMs from the event loop until it
    // answers true (then true); the notice, made by makeNotice once silentMs passed, stays with
    // the caller. Its button, SIGTERM and SIGHUP alike stop the wait (then false).
    bool waitBehindNotice(std::unique_ptr<QDialog> &notice,
                          const std::function<QDialog *()> &makeNotice, int pollMs, int silentMs,
                          const std::function<bool()> &over);
    // Keeps the start's own quick add as a waiting line (once); false when it could not be.
    bool keepStartupLine();
    // Whether the user lets the start end without its quick add, asked over the notice.
    bool endWithoutStartupLine(QWidget *over);
    // The account clean-up that runs once; false while another program's write keeps its mark
    // from being stored.
    bool cleanUpAccountsOnce();
    void wireOrderlyQuit();
    // The last try at storing waiting quick-add lines on the way out, in short tries from the
    // event loop behind a notice that says so and can stop it (left open for what follows);
    // returns the lines still waiting.
    int lastQuickAddTry(QuickAddQueue *lines, std::unique_ptr<QDialog> &notice);

    AppState *appState = nullptr;
    Sync::SyncCoordinator *syncCoordinator = nullptr;
    MainWindow *mainWindow = nullptr;
    TrayManager *trayManager = nullptr;
    NotificationService *notificationService = nullptr;
    SingleInstance *singleInstance = nullptr;
    InstanceCommand startupCommand;
    // The start's own quick add: kept as a waiting line while the start waited.
    enum class StartLine { NotKept, Kept, Lost } startupLine = StartLine::NotKept;
    QString startupLineFailure;
    QTranslator *qtTranslator = nullptr;
    QTranslator *appTranslator = nullptr;
    QuitSignal *quitSignal = nullptr; // installed once the data folder is held
    std::unique_ptr<DataFolderLock> dataLock; // the data folder, for the life of the program
};
