#include "ui/mainwindow/QuickAddStatus.h"

#include "core/QuickAddQueue.h"
#include "ui/mainwindow/ElidingStatusBar.h"
#include "ui/mainwindow/MainWindow.h"

#include <memory>

void reportWaitingQuickAdds(QuickAddQueue &queue, ElidingStatusBar &bar)
{
    ElidingStatusBar *status = &bar;
    QuickAddQueue *lines = &queue;
    auto waitingLine = std::make_shared<QString>();
    // Read afresh each time it is shown: whether the lines are safe on disk may have changed.
    const auto showWaiting = [status, lines, waitingLine] {
        if (!lines->waitingLinesKept())
            status->showMessage(MainWindow::tr(
                "Another program is writing to the calendar, and %n waiting quick-add line(s) "
                "could not be saved to disk: they are lost if Larkspindle Calendar ends before "
                "the calendar is free.",
                nullptr, lines->waitingCount()));
        else
            status->showMessageShortening(
                MainWindow::tr("Will be added once another program is done writing: \"%1\""),
                *waitingLine);
    };
    QObject::connect(lines, &QuickAddQueue::waiting, status,
                     [waitingLine, showWaiting](const QString &line) {
                         *waitingLine = line.trimmed();
                         showWaiting();
                     });
    QObject::connect(lines, &QuickAddQueue::notKept, status, showWaiting);
    QObject::connect(status, &QStatusBar::messageChanged, lines,
                     [lines, showWaiting](const QString &shown) {
                         if (shown.isEmpty() && lines->waitingCount() > 0)
                             showWaiting();
                     });
    // A file kept aside is still named once its lines are added.
    auto aside = std::make_shared<QString>();
    QObject::connect(lines, &QuickAddQueue::restoredAdded, status, [status, aside](int count) {
        if (aside->isEmpty())
            status->showMessageShortening(
                MainWindow::tr("Added %n quick-add line(s) that waited when %1 last ended.",
                               nullptr, count),
                MainWindow::tr("Larkspindle Calendar"));
        else
            status->showMessage(MainWindow::tr("%n quick-add line(s) that waited when "
                                               "Larkspindle Calendar last ended were added; their "
                                               "file could not all be read and is kept as %1.",
                                               nullptr, count)
                                    .arg(*aside));
    });
    QObject::connect(lines, &QuickAddQueue::keptAside, status,
                     [status, aside](const QString &path) {
                         *aside = path;
                         status->showMessage(
                             MainWindow::tr("The quick-add lines that waited when Larkspindle "
                                            "Calendar last ended could not all be read: their file "
                                            "is kept as %1.")
                                 .arg(path));
                     });
}
