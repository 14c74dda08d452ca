#include "app/Application.h"

#include "app/ServiceWiring.h"
#include "core/AppState.h"
#include "core/QuickAddQueue.h"
#include "core/sync/SyncCoordinator.h"
#include "core/sync/SyncScheduler.h"
#include "core/sync/SyncServices.h"
#include "model/Clock.h"
#include "platform/DataPaths.h"
#include "platform/FileAccess.h"
#include "platform/LocalZone.h"
#include "platform/QuitSignal.h"
#include "platform/SingleInstance.h"
#include "services/update/UpdateConfig.h"
#include "storage/AccountRepository.h"
#include "storage/Database.h"
#include "storage/PreferenceKeys.h"
#include "storage/PreferencesRepository.h"
#include "ui/MessagePresenter.h"
#include "ui/TabOrder.h"
#include "ui/WaitNotice.h"
#include "ui/WindowFit.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/theme/Theme.h"
#include "ui/theme/ThemeManager.h"
#include "ui/tray/NotificationService.h"
#include "ui/tray/TrayManager.h"
#include "ui/update/UpdateFlows.h"

#include <QDeadlineTimer>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLibraryInfo>
#include <QLocale>
#include <QSaveFile>
#include <QSettings>
#include <QTimer>
#include <QTranslator>

QStringList supportedLanguages()
{
    return {QStringLiteral("en"), QStringLiteral("es"), QStringLiteral("de"), QStringLiteral("fr"),
            QStringLiteral("ja")};
}

QString startupLoggingRules(const QString &instance, const QByteArray &qtLoggingRules)
{
    if (instance == QLatin1String("dev") || !qtLoggingRules.isEmpty())
        return QString();
    return QStringLiteral("*.debug=false\n*.info=false");
}

namespace {

// Breaks a long path at its separators rather than in the middle of a name.
QString wrappablePath(QString path)
{
    return path.replace(QLatin1Char('/'), QStringLiteral("/") + QChar(0x200B));
}

} // namespace

QString Application::refusalTitle(const DataFolderLockAttempt &lock)
{
    if (lock.refusal == DataFolderLockAttempt::Refusal::Running)
        return Application::tr("Larkspindle Calendar Is Running");
    if (lock.refusal == DataFolderLockAttempt::Refusal::NoFolder)
        return Application::tr("Data Folder Cannot Be Made");
    if (lock.refusal == DataFolderLockAttempt::Refusal::Link)
        return Application::tr("Link in the Data Folder");
    return Application::tr("Data Folder Cannot Be Locked");
}

QString Application::refusalText(const DataFolderLockAttempt &lock, const QString &dataDir)
{
    using Refusal = DataFolderLockAttempt::Refusal;
    switch (lock.refusal) {
    case Refusal::Running:
        if (lock.holderPid > 0)
            return Application::tr(
                       "Larkspindle Calendar is already running with this data folder (process "
                       "%1), perhaps in another session of yours. Close it there, then start it "
                       "here again.\n\nData directory: %2")
                .arg(lock.holderPid)
                .arg(wrappablePath(dataDir));
        return Application::tr("Larkspindle Calendar is already running with this data folder, "
                               "perhaps in another session of yours. Close it there, then start "
                               "it here again.\n\nData directory: %1")
            .arg(wrappablePath(dataDir));
    case Refusal::UnreadableLock:
        if (lock.lockIsFolder)
            return Application::tr("The lock file %1 is a folder, so no copy of Larkspindle "
                                   "Calendar can take this data folder. Remove that folder, then "
                                   "start Larkspindle Calendar again.")
                .arg(lock.lockPath);
        return Application::tr("The lock file %1 cannot be read. If Larkspindle Calendar is not "
                               "running in another session of yours, remove the file, then start "
                               "it again.")
            .arg(lock.lockPath);
    case Refusal::NoFolder:
        return Application::tr("The data folder cannot be made (%1).\n\nData directory: %2\n\n"
                               "Please check that no file stands in its path and that you may "
                               "write there, then start Larkspindle Calendar again.")
            .arg(lock.problem, dataDir);
    case Refusal::Link:
        return Application::tr("%1 is a link. Larkspindle Calendar keeps its own files in its data "
                               "folder and does not write through links. Put the file itself "
                               "there or remove the link, then start Larkspindle Calendar again.")
            .arg(lock.lockPath);
    case Refusal::CannotLock:
    case Refusal::None:
        break;
    }
    return Application::tr("Neither the data folder nor its database can be locked (%1), so "
                           "another copy of Larkspindle Calendar could change the same calendar "
                           "at the same time.\n\nData directory: %2\n\nPlease check file "
                           "permissions and try again.")
        .arg(lock.problem, dataDir);
}

namespace {

// A window before the main one still wears the program's look: the one stored in the database
// where it can be read without opening it (another copy of the program may hold it), else the
// system's light or dark.
struct StartLook
{
    StartLook()
    {
        look.loadThemeSettings();
        look.loadFontScale();
        const QHash<QString, QString> stored = PreferencesRepository::readFromFile(
            databasePath(), {Prefs::Theme, Prefs::AccentColor, Prefs::FontScale});
        if (stored.contains(Prefs::Theme))
            look.setMode(stored.value(Prefs::Theme), false);
        if (stored.contains(Prefs::AccentColor))
            look.setAccentColor(stored.value(Prefs::AccentColor), false);
        bool scaled = false;
        if (const int percent = stored.value(Prefs::FontScale).toInt(&scaled); scaled)
            look.setFontScale(percent, false);
    }
    ThemeManager look {nullptr};
};

// .ics files handed over that the last run ended before importing: taken up by the next start.
QString waitingImportsPath()
{
    return QFileInfo(databasePath()).absolutePath() + QStringLiteral("/import-waiting.json");
}

void keepWaitingImports(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    const QByteArray bytes = QJsonDocument(QJsonArray::fromStringList(paths)).toJson();
    QSaveFile file(waitingImportsPath());
    const bool kept = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
        && file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        && file.write(bytes) == bytes.size() && file.commit();
    if (kept)
        qWarning("[Application] %lld .ics file(s) handed over wait for the next start",
                 qlonglong(paths.size()));
    else
        qWarning("[Application] %lld .ics file(s) handed over are not imported and cannot be kept: "
                 "%s",
                 qlonglong(paths.size()), qUtf8Printable(file.errorString()));
}

QStringList takeWaitingImports()
{
    const QString path = waitingImportsPath();
    constexpr qint64 kMaxBytes = 1024 * 1024;
    QFile file;
    qint64 size = 0;
    QString error;
    if (QFileInfo(path).isSymLink() || !QFileInfo::exists(path)
        || openRegularFile(file, path, &size, &error) != RegularFileOpen::Opened)
        return {};
    const QJsonArray paths = QJsonDocument::fromJson(file.read(kMaxBytes)).array();
    file.close();
    QFile::remove(path);
    QStringList taken;
    for (const QJsonValue &value : paths) {
        if (!value.toString().isEmpty())
            taken << value.toString();
    }
    return taken;
}

void showStartFailure(const QString &title, const QString &text)
{
    const StartLook look;
    MessagePresenter::show(MessagePresenter::Kind::Critical, nullptr, title, text);
}

} // namespace

Application::Application(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setOrganizationName(QStringLiteral("Larkspindle"));
    setOrganizationDomain(QStringLiteral("larkspindle.example"));
    setApplicationName(QStringLiteral("Calendar"));
    setApplicationVersion(QStringLiteral(LARK_VERSION));

    installTranslators();
    setWindowIcon(QIcon(QStringLiteral(":/icons/app-icon.png")));
    loadFonts();
    setFont(QFont(Theme::uiFontFamily(), Theme::fontBody));
    WindowFit::install(this);
    TabOrder::install(this);
}

Application::~Application()
{
    // The main window has no parent; it goes before the state it reads, and so do the runs.
    delete mainWindow;
    mainWindow = nullptr;
    delete syncCoordinator;
    syncCoordinator = nullptr;
    // The first of the children to go anyway; here so that the database is closed before the
    // data folder's lock is let go.
    delete appState;
    appState = nullptr;
}

void Application::loadFonts()
{
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/IBMPlexSans.ttf"));
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/IBMPlexSans-Italic.ttf"));
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/IBMPlexMono-Medium.ttf"));
    const int icons
        = QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/MaterialIcons-Regular.otf"));
    if (icons < 0) {
        qWarning().noquote() << "[Fonts] Failed to load Material Icons font — indicators will "
                                "fall back to a missing-glyph box.";
        return;
    }
    const QStringList families = QFontDatabase::applicationFontFamilies(icons);
    if (!families.isEmpty())
        Theme::setIconFontFamily(families.first());
}

QString Application::resolveLanguage(const QString &stored, const QString &systemLocaleName)
{
    if (stored != QLatin1String("system"))
        return stored;
    const QString code = systemLocaleName.left(2);
    return supportedLanguages().contains(code) ? code : QStringLiteral("en");
}

QString Application::resolveLanguage() const
{
    QSettings settings(organizationName(), applicationName());
    const QString stored
        = settings.value(QStringLiteral("ui/language"), QStringLiteral("system")).toString();
    return resolveLanguage(stored, QLocale::system().name());
}

void Application::installTranslators()
{
    const Translators translators = installLanguage(resolveLanguage(), this);
    qtTranslator = translators.qt;
    appTranslator = translators.app;
}

QLocale Application::interfaceLocale(const QString &language, const QLocale &system)
{
    const QLocale chosen(language);
    return system.language() == chosen.language() ? system : chosen;
}

Application::Translators Application::installLanguage(const QString &language, QObject *owner)
{
    QLocale::setDefault(interfaceLocale(language, QLocale::system()));
    Translators translators;
    if (language != QLatin1String("en")) {
        translators.qt = new QTranslator(owner);
        if (translators.qt->load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(translators.qt);
        } else {
            delete translators.qt;
            translators.qt = nullptr;
        }
    }
    translators.app = new QTranslator(owner);
    if (translators.app->load(QStringLiteral(":/i18n/calendar_%1.qm").arg(language))) {
        QCoreApplication::installTranslator(translators.app);
    } else {
        delete translators.app;
        translators.app = nullptr;
    }
    return translators;
}

QDialog *Application::writerNotice(const QString &keptLine)
{
    QString text = tr("Another program is writing to the calendar. Larkspindle Calendar starts as "
                      "soon as it is done.");
    if (!keptLine.isEmpty())
        text += QStringLiteral("\n\n")
            + tr("The quick add \"%1\" is kept: it is added once Larkspindle Calendar starts, "
                 "also if you quit now.")
                  .arg(keptLine.trimmed());
    return WaitNotice::make(nullptr, tr("Waiting for Another Program"), text, tr("Quit"));
}

QDialog *Application::holderNotice()
{
    return WaitNotice::make(nullptr, tr("Larkspindle Calendar Is Starting"),
                            tr("Larkspindle Calendar is already running or still starting with "
                               "this data folder. This start hands its command over as soon as "
                               "it answers."),
                            tr("Cancel"));
}

QDialog *Application::quitNotice(QWidget *parent, int lines)
{
    return WaitNotice::make(parent, tr("Adding Quick-Add Lines"),
                            tr("Another program is writing to the calendar. Larkspindle Calendar "
                               "adds %n waiting quick-add line(s) as soon as it is done, then "
                               "ends.",
                               nullptr, lines),
                            tr("End Now"));
}

bool Application::waitBehindNotice(std::unique_ptr<QDialog> &notice,
                                   const std::function<QDialog *()> &makeNotice, int pollMs,
                                   int silentMs, const std::function<bool()> &over)
{
    QEventLoop loop;
    bool done = false;
    const auto stop = [&loop] {
        loop.quit();
    };
    if (quitSignal)
        connect(quitSignal, &QuitSignal::requested, &loop, stop);
    const auto showNotice = [&] {
        notice.reset(makeNotice());
        connect(notice.get(), &QDialog::rejected, &loop, stop);
        notice->show();
    };
    if (notice) {
        connect(notice.get(), &QDialog::rejected, &loop, stop);
        notice->show(); // its button hid it, and the wait goes on
    } else if (silentMs <= 0) {
        showNotice();
    }
    QElapsedTimer waited;
    waited.start();
    QTimer poll;
    connect(&poll, &QTimer::timeout, &loop, [&] {
        // over() may run an event loop of its own (a hand-over waits for its answer).
        poll.stop();
        const bool isOver = over();
        poll.start(pollMs);
        if (isOver) {
            done = true;
            loop.quit();
        } else if (!notice && waited.elapsed() >= silentMs) {
            showNotice();
        }
    });
    poll.start(pollMs);
    loop.exec();
    return done;
}

int Application::lastQuickAddTry(QuickAddQueue *lines, std::unique_ptr<QDialog> &notice)
{
    lines->stopRetrying();
    int waiting = lines->waitingCount();
    if (waiting == 0)
        return 0;
    // Said at once: the try may last seconds, and the window is already gone.
    qWarning("[Application] %d quick-add line(s) wait for another program's write; the quit "
             "waits for it",
             waiting);
    QElapsedTimer waited;
    waited.start();
    constexpr int kTryMs = 250;
    constexpr int kPauseMs = 20;
    (void)waitBehindNotice(
        notice, [&] { return quitNotice(mainWindow, waiting); }, kPauseMs, 0,
        [&] {
            waiting = lines->tryOnceMoreBeforeQuit(kTryMs);
            return waiting == 0 || waited.elapsed() >= QuickAddQueue::kLastTryWaitMs;
        });
    return waiting;
}

std::optional<int> Application::handToStartingHolder(DataFolderLockAttempt &lock)
{
    // The holder may be a start of this session that has yet to listen: it takes the command
    // line once it can carry it out. One in another session never answers here.
    if (!singleInstance)
        return std::nullopt;
    QDeadlineTimer deadline(kHolderStartWaitMs);
    std::optional<StartLook> look;
    std::unique_ptr<QDialog> notice;
    std::optional<int> code;
    const auto makeNotice = [&] {
        qWarning("[Application] the data folder %s is held by process %lld, which takes no "
                 "command yet; this start waits for it",
                 qUtf8Printable(dataDirectory()), lock.holderPid);
        look.emplace();
        return holderNotice();
    };
    constexpr int kLookMs = 100;
    const bool over = waitBehindNotice(notice, makeNotice, kLookMs, kSilentWaitMs, [&] {
        code = SingleInstance::exitCodeOf(singleInstance->forward(startupCommand));
        if (code)
            return true;
        // A holder that ended meanwhile leaves the folder, and the command, to this start.
        lock = lockDataDirectory();
        if (lock.refusal != DataFolderLockAttempt::Refusal::Running)
            return true;
        if (SingleInstance::holderIsStarting())
            deadline.setRemainingTime(kHolderStartWaitMs);
        return deadline.hasExpired();
    });
    return over ? code : std::optional<int>(1);
}

bool Application::keepStartupLine()
{
    if (startupCommand.kind != InstanceCommand::Kind::QuickAdd || startupLine != StartLine::NotKept
        || startupCommand.text.value_or(QString()).trimmed().isEmpty())
        return startupLine != StartLine::Lost;
    const QString text = *startupCommand.text;
    bool kept = false;
    if (appState && appState->quickAdds()) {
        // The state is open and its queue holds the lines until the start goes on.
        QuickAddQueue *lines = appState->quickAdds();
        kept = lines->add(text, QString(), Clock::now()) != QuickAddOutcome::Refused
            && lines->waitingLinesKept();
        startupLineFailure = tr("it could not be saved to disk");
    } else {
        kept = QuickAddQueue::keepForLater(AppState::waitingLinesPath(databasePath()), text,
                                           Clock::now(), &startupLineFailure);
        if (!kept)
            return false; // not handed to anyone yet: the start adds it if it goes on
    }
    startupLine = kept ? StartLine::Kept : StartLine::Lost;
    if (kept)
        qWarning("[Application] the start's quick add is kept as a waiting line");
    else
        qWarning("[Application] the start's quick add cannot be kept: %s",
                 qUtf8Printable(startupLineFailure));
    return kept;
}

bool Application::endWithoutStartupLine(QWidget *over)
{
    if (startupCommand.kind != InstanceCommand::Kind::QuickAdd || startupLine == StartLine::Kept
        || startupCommand.text.value_or(QString()).trimmed().isEmpty())
        return true;
    // The box goes over the notice, which its button hid.
    if (over)
        over->show();
    qWarning("[Application] the start's quick add is not saved; asking whether to end without it");
    return MessagePresenter::ask(
        over, tr("Quick Add Not Saved"),
        tr("The quick add \"%1\" could not be saved (%2). If Larkspindle Calendar ends now, it is "
           "lost.\n\nEnd without it? Choose No to wait on.")
            .arg(startupCommand.text.value_or(QString()).trimmed(), startupLineFailure));
}

bool Application::waitForWriter(const std::function<bool()> &over)
{
    qWarning("[Application] another program is writing to %s; the start waits for it",
             qUtf8Printable(databasePath()));
    // Second starts of this session wait for this one rather than refusing.
    if (singleInstance)
        singleInstance->announceStart();
    const bool kept = keepStartupLine();
    const StartLook look;
    std::unique_ptr<QDialog> notice;
    const auto makeNotice = [&] {
        return writerNotice(kept ? startupCommand.text.value_or(QString()) : QString());
    };
    for (;;) {
        if (waitBehindNotice(notice, makeNotice, kWriterPollMs, 0, over))
            return true;
        if (endWithoutStartupLine(notice.get()))
            break;
    }
    qWarning("[Application] the start ended while another program was writing");
    return false;
}

bool Application::waitOutAnotherWriter(bool metOne)
{
    const QString path = databasePath();
    if (!metOne && !Database::anotherWriterHolds(path))
        return true;
    return waitForWriter([path] { return !Database::anotherWriterHolds(path); });
}

bool Application::cleanUpAccountsOnce()
{
    PreferencesRepository *prefs = appState->preferences();
    if (prefs->getBool(Prefs::AccountsDedupedV1, Prefs::AccountsDedupedV1Default))
        return true;
    const int collapsed = appState->accounts()->dedupeAccounts();
    if (collapsed > 0)
        qInfo() << "[ConfigSync] Collapsed" << collapsed << "duplicate CalDAV account rows";
    // A mark refused for another reason is made at a later start.
    return prefs->setBool(Prefs::AccountsDedupedV1, true)
        || !appState->database()->lastFailureWasBusy();
}

std::optional<int> Application::bringUpState()
{
    for (bool metWriter = false;; metWriter = true) {
        if (!waitOutAnotherWriter(metWriter))
            return 0;
        appState = new AppState(this);
        if (appState->initialize())
            break;
        const Database *db = appState->database();
        if (!db || !db->openFailureWasBusy()) {
            showStartFailure(tr("Database Error"),
                             tr("The database cannot be opened for writing (%1), so Larkspindle "
                                "Calendar cannot start.\n\nData directory: %2")
                                 .arg(db ? db->openFailure() : QString(), dataDirectory()));
            return 1;
        }
        // Another program began to write after the look above: wait for it again.
        delete appState;
        appState = nullptr;
    }
    // What the start writes besides: a writer that came meanwhile is waited for like one before.
    // Tried again only once the writer is gone: each try would wait for it and log its refusal.
    const auto seeded = [this] {
        return !appState->seedAgain() && cleanUpAccountsOnce();
    };
    const QString path = databasePath();
    if (!seeded()
        && !waitForWriter([&] { return !Database::anotherWriterHolds(path) && seeded(); }))
        return 0;
    return std::nullopt;
}

void Application::wireOrderlyQuit()
{
    // The system's request to end (a service stop, the session's end) and the desktop session's
    // end go the way of File > Quit.
    MainWindow *w = mainWindow;
    connect(quitSignal, &QuitSignal::requested, w, &MainWindow::quitApplication);
    connect(this, &QGuiApplication::commitDataRequest, w, [w] { w->quitApplication(); });
    // Quick-add lines that still wait for another program's write get a last, longer try on the
    // way out; those still refused stay in the data folder, and the next start adds them. Lines
    // the folder cannot take are never given up in silence: the user says whether to go on trying.
    AppState *state = appState;
    connect(this, &QCoreApplication::aboutToQuit, state, [this, state] {
        QuickAddQueue *lines = state->quickAdds();
        std::unique_ptr<QDialog> notice;
        int kept = lastQuickAddTry(lines, notice);
        while (kept > 0 && !lines->waitingLinesKept()) {
            qWarning("[Application] %d quick-add line(s) wait for another program's write and "
                     "cannot be saved to disk; asking whether to end without them",
                     kept);
            // Over the notice: the main window is gone by now.
            if (notice)
                notice->show();
            if (MessagePresenter::ask(
                    notice ? notice.get() : static_cast<QWidget *>(mainWindow),
                    tr("Quick-Add Lines Not Saved"),
                    tr("Another program is still writing to the calendar, and %n quick-add "
                       "line(s) could not be saved to disk. If Larkspindle Calendar ends now, "
                       "they are lost.\n\nEnd without them? Choose No to try again.",
                       nullptr, kept)))
                return;
            kept = lastQuickAddTry(lines, notice);
        }
        if (kept > 0)
            qWarning("[Application] %d quick-add line(s) still wait for another program's write; "
                     "the next start adds them",
                     kept);
        // A file handed over and answered is not dropped because the program ended first.
        keepWaitingImports(mainWindow->waitingImports());
    });
}

int Application::run()
{
    // One program per database: a second one, which could not hand its command line over
    // (another session's runtime folder), would show every reminder twice and race for writes.
    DataFolderLockAttempt lock = lockDataDirectory();
    if (!lock.lock && lock.refusal == DataFolderLockAttempt::Refusal::Running) {
        if (const std::optional<int> handedOver = handToStartingHolder(lock))
            return *handedOver;
    }
    if (!lock.lock) {
        const QString text = refusalText(lock, dataDirectory());
        if (lock.refusal == DataFolderLockAttempt::Refusal::Running)
            qWarning("[Application] the data folder %s is in use by process %lld",
                     qUtf8Printable(dataDirectory()), lock.holderPid);
        else
            qWarning("[Application] the data folder %s cannot be %s: %s",
                     qUtf8Printable(dataDirectory()),
                     lock.refusal == DataFolderLockAttempt::Refusal::NoFolder   ? "made"
                         : lock.refusal == DataFolderLockAttempt::Refusal::Link ? "used"
                                                                                : "locked",
                     qUtf8Printable(text));
        showStartFailure(refusalTitle(lock), text);
        return 1;
    }
    dataLock = std::move(lock.lock);
    // From here the system's request to end the program ends it in order, also while the start
    // waits for another program's write.
    if (!quitSignal) {
        quitSignal = new QuitSignal(this);
        (void)quitSignal->install(); // it says why when it cannot
    }
    registerAppServices();
    if (const std::optional<int> ended = bringUpState())
        return *ended;

    PreferencesRepository *prefs = appState->preferences();

    // The runs belong to the program, not to the window: they go on while it is hidden.
    syncCoordinator = Sync::attachSyncServices(*appState, this);

    mainWindow = new MainWindow(appState);

    (void)registerIcsFileAssociation();

    if (!prefs->getBool(Prefs::StartMinimized, Prefs::StartMinimizedDefault)
        && !arguments().contains(QStringLiteral("--background")))
        mainWindow->show();
    // An import the last run left unfinished goes behind a dialog of its own, held from sync
    // until it is gone.
    mainWindow->takeBackInterruptedImport();

    wireOrderlyQuit();
    // Files handed over that the last run ended before importing, once the loop runs.
    if (const QStringList imports = takeWaitingImports(); !imports.isEmpty()) {
        MainWindow *w = mainWindow;
        QTimer::singleShot(0, w, [w, imports] {
            for (const QString &path : imports)
                w->importIcsFromCommand(path);
        });
    }

    if (singleInstance) {
        MainWindow *w = mainWindow;
        connect(singleInstance, &SingleInstance::focusRequested, w, &MainWindow::focusWindow,
                Qt::QueuedConnection);
        connect(singleInstance, &SingleInstance::showTodayRequested, w, &MainWindow::showToday,
                Qt::QueuedConnection);
        connect(singleInstance, &SingleInstance::newEventRequested, w,
                &MainWindow::newEventFromCommand, Qt::QueuedConnection);
        // Answered once the line is stored or kept: a start whose line is neither ends with 1.
        singleInstance->setQuickAddTaker(
            [w](const QString &text) { return w->quickAddFromCommand(text); });
        connect(singleInstance, &SingleInstance::openIcsRequested, w,
                &MainWindow::importIcsFromCommand, Qt::QueuedConnection);

        // The own command takes the same road as one from a second start, once the loop runs.
        // A quick add kept while the start waited is added from the waiting lines.
        if (startupCommand.kind != InstanceCommand::Kind::Focus
            && startupLine == StartLine::NotKept) {
            SingleInstance *channel = singleInstance;
            const InstanceCommand command = startupCommand;
            QTimer::singleShot(0, channel,
                               [channel, command] { (void)channel->dispatch(command); });
        }
        // Only now: a second start is answered once this program can carry its command out.
        singleInstance->listen();
    }

    trayManager = new TrayManager(appState, mainWindow, this);
    connect(trayManager, &TrayManager::syncNowRequested, mainWindow, &MainWindow::syncNow);
    trayManager->setup();
    mainWindow->setTrayIcon(trayManager->trayIcon());

    notificationService = new NotificationService(appState, trayManager->trayIcon(), this);
    mainWindow->setNotificationService(notificationService);
    notificationService->setWindow(mainWindow);
    connect(notificationService, &NotificationService::reminderClicked, mainWindow,
            &MainWindow::focusOnEvent);
    // Tasks have no view of their own: the window opens on the day the task is due.
    MainWindow *w = mainWindow;
    connect(notificationService, &NotificationService::taskReminderOpened, mainWindow,
            [w](const QDate &due) { w->focusOnEvent(QString(), due); });

    // Accounts keep in step by themselves, also while the window is hidden in the tray.
    syncCoordinator->scheduler()->start();

    // A newer release is offered beside the window, never in the way of it.
    LarkUpdate::scheduleAutomaticCheck(updateChannelConfig(),
                                       QStringLiteral("Larkspindle Calendar"), this, mainWindow);

    // Local times follow the system zone when the user moves to another one.
    auto *zoneCheck = new QTimer(this);
    connect(zoneCheck, &QTimer::timeout, this, [] { LocalZone::refresh(); });
    zoneCheck->start(kZoneCheckIntervalMs);

    return exec();
}
