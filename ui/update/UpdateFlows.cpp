#include "ui/update/UpdateFlows.h"

#include "services/update/Client.h"
#include "services/update/FeedAccess.h"
#include "services/update/ReleaseNotesFetcher.h"
#include "ui/update/DialogParts.h"
#include "ui/update/UpdateDialog.h"
#include "ui/update/WhatsNewDialog.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <QUrlQuery>
#include <QWidget>

namespace LarkUpdate {

namespace {

constexpr int kStatusMs = 5000;

void showStatus(const UiCallbacks &callbacks, const QString &text)
{
    if (callbacks.showStatus)
        callbacks.showStatus(text);
}

// Every outcome clears the status first, then may show its own text for a while.
void finishStatus(const UiCallbacks &callbacks, const QString &timedText = QString())
{
    if (callbacks.clearStatus)
        callbacks.clearStatus();
    if (!timedText.isEmpty() && callbacks.showTimedStatus)
        callbacks.showTimedStatus(timedText, kStatusMs);
}

void showWhatsNewDialog(QWidget *parent, const QString &markdown, const QString &shownVersion,
                        const QString &currentVersion, const QString &productName,
                        const QUrl &downloadUrl = QUrl())
{
    auto *dialog = new WhatsNewDialog(markdown, shownVersion, currentVersion, productName, parent,
                                      downloadUrl);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

// What's New when the running version has no notes: the newest release's notes, if any.
void showNewestReleaseNotes(const UpdateChannelConfig &config, const QString &productName,
                            const QPointer<QWidget> &parent, const UiCallbacks &callbacks)
{
    const QString current = config.currentVersion;
    const QString noNotes
        = QObject::tr("No release notes available for %1 %2").arg(productName, current);
    auto *client = new Client(config, QCoreApplication::instance());
    const auto noNotesOutcome = [client, callbacks, noNotes] {
        finishStatus(callbacks, noNotes);
        client->deleteLater();
    };
    QObject::connect(client, &Client::updateAvailable, client, [=](const Artifact &artifact) {
        if (!artifact.releaseNotesUrl.isValid() || artifact.releaseNotesUrl.isEmpty()) {
            noNotesOutcome();
            return;
        }
        auto *fetcher = new ReleaseNotesFetcher(artifact.releaseNotesUrl, config.product,
                                                QCoreApplication::instance());
        QObject::connect(fetcher, &ReleaseNotesFetcher::notesReady, fetcher,
                         [=](const QString &markdown) {
                             finishStatus(callbacks);
                             if (parent)
                                 showWhatsNewDialog(parent, markdown, artifact.version, current,
                                                    productName, artifact.url);
                             fetcher->deleteLater();
                             client->deleteLater();
                         });
        QObject::connect(fetcher, &ReleaseNotesFetcher::notesUnavailable, fetcher, [=] {
            noNotesOutcome();
            fetcher->deleteLater();
        });
        fetcher->start();
    });
    QObject::connect(client, &Client::upToDate, client, noNotesOutcome);
    QObject::connect(client, &Client::checkFailed, client, noNotesOutcome);
    client->checkForUpdates();
}

} // namespace

void checkForUpdatesInteractive(const UpdateChannelConfig &config, const QString &productName,
                                QWidget *parent, const UiCallbacks &callbacks)
{
    auto *client = new Client(config, QCoreApplication::instance());
    const QPointer<QWidget> guardedParent(parent);
    const QString current = config.currentVersion;
    showStatus(callbacks, QObject::tr("Checking for updates…"));

    QObject::connect(client, &Client::updateAvailable, client, [=](const Artifact &artifact) {
        finishStatus(callbacks);
        if (guardedParent) {
            auto *dialog = new UpdateDialog(artifact, current, productName, guardedParent);
            dialog->setAttribute(Qt::WA_DeleteOnClose);
            dialog->show();
        }
        client->deleteLater();
    });
    QObject::connect(client, &Client::upToDate, client, [=] {
        finishStatus(callbacks,
                     QObject::tr("%1 is up to date (version %2)").arg(productName, current));
        client->deleteLater();
    });
    QObject::connect(client, &Client::checkFailed, client, [=](const QString &reason) {
        finishStatus(callbacks, QObject::tr("Update check failed: %1").arg(reason));
        client->deleteLater();
    });
    client->checkForUpdates();
}

void showWhatsNew(const UpdateChannelConfig &config, const QString &productName, QWidget *parent,
                  const UiCallbacks &callbacks)
{
    const QPointer<QWidget> guardedParent(parent);
    const QString current = config.currentVersion;
    showStatus(callbacks, QObject::tr("Loading release notes…"));

    auto *fetcher = new ReleaseNotesFetcher(config, QCoreApplication::instance());
    QObject::connect(
        fetcher, &ReleaseNotesFetcher::notesReady, fetcher, [=](const QString &markdown) {
            finishStatus(callbacks);
            if (guardedParent)
                showWhatsNewDialog(guardedParent, markdown, current, current, productName);
            fetcher->deleteLater();
        });
    QObject::connect(fetcher, &ReleaseNotesFetcher::notesUnavailable, fetcher, [=] {
        fetcher->deleteLater();
        showNewestReleaseNotes(config, productName, guardedParent, callbacks);
    });
    fetcher->start();
}

void scheduleAutomaticCheck(const UpdateChannelConfig &config, const QString &productName,
                            QObject *owner, QWidget *window, int delayMs)
{
    const QPointer<QWidget> guardedWindow(window);
    QTimer::singleShot(delayMs, owner, [=] {
        auto *client = new Client(config, owner);
        QObject::connect(client, &Client::updateAvailable, client, [=](const Artifact &artifact) {
            if (!guardedWindow)
                return; // the program is on its way out
            auto *dialog
                = new UpdateDialog(artifact, config.currentVersion, productName, guardedWindow);
            // Shown at start-up over whatever the user is doing: it must not block the window.
            dialog->setModal(false);
            dialog->setAttribute(Qt::WA_DeleteOnClose);
            dialog->show();
        });
        QObject::connect(client, &Client::checkFailed, client, [](const QString &reason) {
            qWarning().noquote() << "[LarkUpgrade] update check failed:" << reason;
        });
        client->checkForUpdates();
    });
}

void openFeedbackPage(const FeedbackConfig &config, QWidget *parent)
{
    QUrl url = appendToPath(config.pageUrl);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("tags"), config.product);
    url.setQuery(query);
    (void)openPageOrSay(url, parent);
}

} // namespace LarkUpdate
