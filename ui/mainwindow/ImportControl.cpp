#include "ui/mainwindow/ImportControl.h"

#include "core/AppState.h"
#include "core/IcsImport.h"
#include "ui/MessagePresenter.h"
#include "ui/WindowFit.h"
#include "ui/dialogs/CalendarPickerDialog.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QStyle>

#include <algorithm>
#include <utility>

namespace {
// These texts were the main window's, and keep its translations.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)
};

// The dialog lays its label out by hand, one line as wide as its text: the text wraps instead,
// no wider than the dialog can be on its screen, and the dialog takes the wrapped text's height.
void wrapLabel(QProgressDialog *progress)
{
    auto *label = progress->findChild<QLabel *>();
    if (!label)
        return;
    label->setWordWrap(true);
    const int margins
        = progress->style()->pixelMetric(QStyle::PM_LayoutLeftMargin, nullptr, progress)
        + progress->style()->pixelMetric(QStyle::PM_LayoutRightMargin, nullptr, progress);
    label->setMaximumWidth(std::max(1, WindowFit::widestContent(progress) - margins));
}
} // namespace

ImportControl::ImportControl(AppState *state, QWidget *window)
    : QObject(window)
    , m_state(state)
    , m_window(window)
{ }

void ImportControl::importFile(const QString &path)
{
    // The file is read before asking, so a bad file is reported without a question first.
    IcsFileContents contents = readIcsFile(path);
    if (!contents.error.isEmpty()) {
        report(false, contents.error);
        return;
    }
    if (CalendarPickerDialog::writableCalendars(m_state).isEmpty()) {
        report(false,
               Texts::tr("Import failed: there is no calendar that can take events. Add one "
                         "first."));
        return;
    }
    const QString fileName = QFileInfo(path).fileName();
    CalendarPickerDialog picker(
        m_state,
        Texts::tr("Import %Ln event(s) from %1 into:", nullptr, contents.eventCount).arg(fileName),
        m_window);
    if (picker.exec() != QDialog::Accepted) {
        emit status(Texts::tr("Import cancelled."));
        return;
    }
    auto *job = new IcsImportJob(m_state->store(), std::move(contents.text),
                                 picker.selectedCalendarId(), fileName, this);
    contents = IcsFileContents();
    // Shown only when the import takes a while; a small file is done before it could appear.
    auto *progress = new QProgressDialog(Texts::tr("Importing the events of %1…").arg(fileName),
                                         Texts::tr("Cancel"), 0, qMax(1, job->total()), m_window);
    progress->setObjectName(QStringLiteral("importProgressDialog"));
    progress->setMinimumDuration(500);
    // The dialog stays while a cancel takes the import back (its own cancel would hide it), and
    // comes back when it is closed before that is done.
    connect(progress, &QProgressDialog::canceled, this, &ImportControl::cancel);
    run(job, progress);
}

void ImportControl::takeBackLeftover()
{
    IcsImportJob *job = IcsImportJob::resumeLeftover(m_state->store(), this);
    if (!job)
        return;
    // A complete import's record goes without a word; rows to take back go behind a dialog,
    // shown at once: a large import takes many seconds to go.
    QProgressDialog *progress = nullptr;
    if (job->isTakingBack()) {
        progress
            = new QProgressDialog(Texts::tr("Taking back the import of %1…").arg(job->fileName()),
                                  QString(), 0, qMax(1, job->total()), m_window);
        progress->setObjectName(QStringLiteral("takeBackProgressDialog"));
        progress->setCancelButton(nullptr);
        progress->setMinimumDuration(0);
    }
    run(job, progress);
    if (m_progress)
        m_progress->show();
}

void ImportControl::run(IcsImportJob *job, QProgressDialog *progress)
{
    m_job = job;
    m_progress = progress;
    m_waiting = false;
    if (progress) {
        m_label = progress->labelText();
        wrapLabel(progress);
        progress->setWindowTitle(Texts::tr("Import .ics File"));
        progress->setWindowModality(Qt::WindowModal);
        progress->setAutoClose(false);
        progress->setAutoReset(false);
        // A take-back cannot be stopped: closed, the dialog comes back until the calendar is as
        // it was, so that no edit is made to a row about to be put back.
        disconnect(progress, &QProgressDialog::canceled, progress, nullptr);
        connect(progress, &QDialog::rejected, this, &ImportControl::cancel);
        // Queued: a modal progress dialog runs the event loop inside setValue, and a cancel must
        // not arrive in the middle of a slice. A value that arrives after the end is dropped: set
        // on the hidden dialog, it would show it again over the outcome's box.
        connect(
            job, &IcsImportJob::progress, progress,
            [this, job, progress](int done) {
                if (m_job == job && m_progress == progress)
                    progress->setValue(done);
            },
            Qt::QueuedConnection);
        // A wait for another program's write is said at once, so that it does not look stuck.
        connect(job, &IcsImportJob::waitingForWriter, progress,
                [this, job, progress](bool waiting) {
                    if (m_job != job || m_progress != progress)
                        return;
                    m_waiting = waiting;
                    setLabel(m_label);
                    if (waiting)
                        progress->show();
                });
    }
    connect(job, &IcsImportJob::finished, this,
            [this, job](const IcsImportResult &result) { finish(job, result); });
    job->start();
}

void ImportControl::cancel()
{
    if (!m_job)
        return;
    const bool wasStoring = m_job->state() == IcsImportJob::State::Storing;
    m_job->cancel();
    // An import that had stored nothing yet has ended, and its end has closed the dialog.
    if (!m_job || !m_progress)
        return;
    if (wasStoring && m_job->isTakingBack()) {
        setLabel(Texts::tr("Taking back the import…"));
        m_progress->setRange(0, 0);
        if (auto *button = m_progress->findChild<QPushButton *>())
            button->setEnabled(false);
    }
    m_progress->show();
}

void ImportControl::setLabel(const QString &text)
{
    m_label = text;
    if (!m_progress)
        return;
    const QPoint centre = m_progress->geometry().center();
    m_progress->setLabelText(
        m_waiting ? text + QStringLiteral("\n\n")
                + Texts::tr("Another program is writing to the calendar database; this goes on "
                            "as soon as it is done.")
                  : text);
    // A longer text makes the dialog grow about its centre, so that it stays over the window.
    if (m_progress->isVisible()) {
        m_progress->move(m_progress->pos() + centre - m_progress->geometry().center());
        WindowFit::fit(m_progress);
    }
}

void ImportControl::quitWhenEnded()
{
    m_quitWhenEnded = true;
    cancel();
}

void ImportControl::finish(IcsImportJob *job, const IcsImportResult &result)
{
    const bool leftover = job->isLeftover();
    job->deleteLater();
    m_job = nullptr;
    if (QProgressDialog *progress = std::exchange(m_progress, nullptr)) {
        // Nothing may show it again while the outcome's box is open (the two would block each
        // other): its show timer stops, and its signals reach nobody.
        progress->disconnect(this);
        progress->cancel();
        progress->hide();
        progress->deleteLater();
    }
    if (std::exchange(m_quitWhenEnded, false)) {
        emit status(result.message);
        emit readyToQuit();
        return;
    }
    if (leftover) {
        // Taken back, it is news; left in the calendar, a warning.
        if (!result.message.isEmpty())
            report(result.cancelled, result.message);
    } else if (result.cancelled) {
        emit status(result.message);
    } else {
        report(result.ok, result.message);
    }
    emit ended();
}

void ImportControl::report(bool ok, const QString &message)
{
    // A box, so that a long reason or file name is read in full; the status bar keeps it too.
    emit status(message);
    MessagePresenter::show(ok ? MessagePresenter::Kind::Information
                              : MessagePresenter::Kind::Warning,
                           m_window, Texts::tr("Import .ics File"), message);
}
