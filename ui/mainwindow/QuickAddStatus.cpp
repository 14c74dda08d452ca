#include "ui/mainwindow/QuickAddStatus.h"

#include "core/QuickAddQueue.h"
#include "ui/mainwindow/MainWindow.h"

#include <QStatusBar>

#include <memory>

void reportWaitingQuickAdds(QuickAddQueue &queue, QStatusBar &bar)
{
    QStatusBar *status = &bar;
    QuickAddQueue *lines = &queue;
    auto lastLine = std::make_shared<QString>();
    // Read afresh each time it is shown: whether the lines are safe on disk may have changed.
    const auto waitingText = [lines, lastLine] {
        if (!lines->waitingLinesKept())
            return MainWindow::tr("Another program is writing to the calendar, and %n waiting "
                                  "quick-add line(s) could not be saved to disk: they are lost if "
                                  "Larkspindle Calendar ends before the calendar is free.",
                                  nullptr, lines->waitingCount());
        return MainWindow::tr("Another program is writing to the calendar: \"%1\" will be added "
                              "as soon as it is done.")
            .arg(*lastLine);
    };
    QObject::connect(lines, &QuickAddQueue::waiting, status,
                     [status, lastLine, waitingText](const QString &line) {
                         *lastLine = line.trimmed();
                         status->showMessage(waitingText());
                     });
    QObject::connect(lines, &QuickAddQueue::notKept, status,
                     [status, waitingText] { status->showMessage(waitingText()); });
    QObject::connect(status, &QStatusBar::messageChanged, lines,
                     [status, lines, waitingText](const QString &shown) {
                         if (shown.isEmpty() && lines->waitingCount() > 0)
                             status->showMessage(waitingText());
                     });
    // A file kept aside is still named once its lines are added.
    auto aside = std::make_shared<QString>();
    QObject::connect(lines, &QuickAddQueue::restoredAdded, status, [status, aside](int count) {
        if (aside->isEmpty())
            status->showMessage(MainWindow::tr("%n quick-add line(s) that waited when "
                                               "Larkspindle Calendar last ended were added.",
                                               nullptr, count));
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
