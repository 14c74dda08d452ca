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
    const auto showWaiting = [status, waitingLine] {
        status->showMessageShortening(
            MainWindow::tr("Will be added once another program is done writing: \"%1\""),
            *waitingLine);
    };
    QObject::connect(lines, &QuickAddQueue::waiting, status,
                     [waitingLine, showWaiting](const QString &line) {
                         *waitingLine = line.trimmed();
                         showWaiting();
                     });
    QObject::connect(status, &QStatusBar::messageChanged, lines,
                     [lines, showWaiting](const QString &shown) {
                         if (shown.isEmpty() && lines->waitingCount() > 0)
                             showWaiting();
                     });
    QObject::connect(lines, &QuickAddQueue::restoredAdded, status, [status](int count) {
        status->showMessageShortening(
            MainWindow::tr("Added %n quick-add line(s) that waited when %1 last ended.", nullptr,
                           count),
            MainWindow::tr("Larkspindle Calendar"));
    });
}
