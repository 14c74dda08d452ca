#pragma once

// The application object: identity, translations, fonts, and bringing the state, the windows and
// the services up in their fixed order.

#include "platform/SingleInstance.h"

#include <QApplication>
#include <QStringList>

class AppState;
class MainWindow;
class TrayManager;
class NotificationService;
class QTranslator;

// The UI languages the program ships: "en", "es", "de", "fr", "ja".
QStringList supportedLanguages();

// The log filter a start installs before anything logs: debug and info off, unless this is the
// development instance or the user set their own logging rules. Empty when none is installed.
QString startupLoggingRules(const QString &instance, const QByteArray &qtLoggingRules);

class Application : public QApplication
{
public:
    Application(int &argc, char **argv);
    ~Application() override;

    // Builds the state, the windows and the services and runs the event loop. 1 when the
    // database cannot be initialised.
    int run();

    // "ui/language" from the per-user settings, "system" resolved to a supported language.
    QString resolveLanguage() const;
    // The rule on its own: "system" takes the first two letters of the system locale's name
    // when they name a supported language, else "en"; any other value stands.
    static QString resolveLanguage(const QString &stored, const QString &systemLocaleName);
    void installTranslators();

    void setSingleInstance(SingleInstance *instance) { singleInstance = instance; }
    // This process's own command, handed to the window once the event loop runs.
    void setStartupCommand(const InstanceCommand &command) { startupCommand = command; }

    AppState *state() const { return appState; }
    MainWindow *window() const { return mainWindow; }
    QTranslator *qtTranslation() const { return qtTranslator; }
    QTranslator *appTranslation() const { return appTranslator; }

private:
    void loadFonts();
    void startUpdateCheck();

    AppState *appState = nullptr;
    MainWindow *mainWindow = nullptr;
    TrayManager *trayManager = nullptr;
    NotificationService *notificationService = nullptr;
    SingleInstance *singleInstance = nullptr;
    InstanceCommand startupCommand;
    QTranslator *qtTranslator = nullptr;
    QTranslator *appTranslator = nullptr;
};
