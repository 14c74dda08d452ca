#pragma once

// The window's side of an import: the file read and a calendar asked for, the job with its
// progress dialog and cancel, the take-back of what the last run left, the outcome in a box and
// the status bar, and quitting once the import under way has ended.

#include "core/IcsImport.h"

#include <QObject>
#include <QPointer>
#include <QString>

class AppState;
class QProgressDialog;
class QWidget;

class ImportControl : public QObject
{
    Q_OBJECT
public:
    // Its dialogs and boxes open over window.
    ImportControl(AppState *state, QWidget *window);

    // An import or a take-back is under way; one at a time, as a cancel takes back what its own
    // import wrote.
    [[nodiscard]] bool isRunning() const { return m_job != nullptr; }
    // Reads the file, asks which calendar takes its events and imports them.
    void importFile(const QString &path);
    // Takes back an import the last run left unfinished, behind a dialog that shows how far it
    // got and cannot be stopped, and then says how it went.
    void takeBackLeftover();
    // Cancels the import under way; readyToQuit follows once what it stored is taken back.
    void quitWhenEnded();

signals:
    void status(const QString &text);
    // The import under way ended and its outcome was told.
    void ended();
    void readyToQuit();

private:
    void run(IcsImportJob *job, QProgressDialog *progress);
    // Takes the running import back, showing so in its dialog until it is done.
    void cancel();
    void finish(IcsImportJob *job, const IcsImportResult &result);
    // The dialog's text, with a word on another program's write while the job waits for it.
    void setLabel(const QString &text);
    // The outcome of an import, in a box and in the status bar.
    void report(bool ok, const QString &message);

    AppState *m_state;
    QWidget *m_window;
    QPointer<IcsImportJob> m_job;
    QPointer<QProgressDialog> m_progress;
    bool m_quitWhenEnded = false;
    QString m_label; // the dialog's own text
    bool m_waiting = false; // the job waits for another program's write
};
