#include "ui/mainwindow/QuickAddStatus.h"

#include "core/QuickAddQueue.h"
#include "ui/mainwindow/MainWindow.h"

#include <QStatusBar>

#include <memory>

void reportWaitingQuickAdds(QuickAddQueue &queue, QStatusBar &bar)
{
    QStatusBar *status = &bar;
    QuickAddQueue *lines = &queue;
    auto waitingText = std::make_shared<QString>();
    QObject::connect(lines, &QuickAddQueue::waiting, status,
                     [status, waitingText](const QString &line) {
                         *waitingText = MainWindow::tr("Another program is writing to the "
                                                       "calendar: \"%1\" will be added as soon as "
                                                       "it is done.")
                                            .arg(line.trimmed());
                         status->showMessage(*waitingText);
                     });
    QObject::connect(status, &QStatusBar::messageChanged, lines,
                     [status, lines, waitingText](const QString &shown) {
                         if (shown.isEmpty() && lines->waitingCount() > 0)
                             status->showMessage(*waitingText);
                     });
    QObject::connect(lines, &QuickAddQueue::restoredAdded, status, [status](int count) {
        status->showMessage(MainWindow::tr("%n quick-add line(s) that waited when Larkspindle "
                                           "Calendar last ended were added.",
                                           nullptr, count));
    });
}
