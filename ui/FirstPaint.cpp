#include "ui/FirstPaint.h"

#include <QEvent>
#include <QTimer>

namespace {

// Watches the window's events and lets the step go once a paint event has been handled.
class PaintWatcher : public QObject
{
public:
    PaintWatcher(QWidget *window, QObject *context, std::function<void()> step)
        : QObject(context)
        , m_step(std::move(step))
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // Queued: the paint this event starts, and putting it on screen, come first.
            QTimer::singleShot(0, this, [this] {
                m_step();
                deleteLater();
            });
        }
        return false;
    }

private:
    std::function<void()> m_step;
    bool m_seen = false;
};

} // namespace

void afterFirstPaint(QWidget *window, QObject *context, std::function<void()> step)
{
    if (!window || !window->isVisible()) {
        QTimer::singleShot(0, context, std::move(step));
        return;
    }
    new PaintWatcher(window, context, std::move(step));
}
