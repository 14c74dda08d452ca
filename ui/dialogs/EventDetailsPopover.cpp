#include "ui/dialogs/EventDetailsPopover.h"

#include "model/DateText.h"
#include "ui/theme/Theme.h"

#include <QLabel>
#include <QVBoxLayout>

QString eventWhenText(const Event &event, const QString &timeFormat)
{
    const auto day = [](const QDate &date) {
        return DateText::format(date, DateText::Style::ShortWeekdayDateYear);
    };
    // A time never breaks across lines ("1:00" above, "PM" below).
    const auto time = [&timeFormat](const QDateTime &dateTime) {
        return DateText::time(dateTime.time(), timeFormat).replace(u' ', QChar::Nbsp);
    };
    const QDateTime start = event.start_time.toLocalTime();
    const QDateTime end = event.end_time ? event.end_time->toLocalTime() : start;
    if (event.is_all_day) {
        // All-day ends are exclusive: the day before the end is the last day.
        const QDate first = event.start_time.date();
        const QDate last
            = qMax(first, (event.end_time ? event.end_time->date() : first).addDays(-1));
        if (first == last)
            return EventDetailsPopover::tr("%1, all day").arg(day(first));
        return EventDetailsPopover::tr("%1 – %2, all day").arg(day(first), day(last));
    }
    if (start.date() == end.date())
        return EventDetailsPopover::tr("%1, %2 – %3")
            .arg(day(start.date()), time(start), time(end));
    return EventDetailsPopover::tr("%1 %2 – %3 %4")
        .arg(day(start.date()), time(start), day(end.date()), time(end));
}

EventDetailsPopover::EventDetailsPopover(const Event &event, const QString &calendarName,
                                         const QString &timeFormat, QWidget *parent)
    : QFrame(parent, Qt::Popup | Qt::FramelessWindowHint)
    , m_eventId(event.id)
{
    setObjectName(QStringLiteral("eventDetailsPopover"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::StyledPanel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);

    auto addLine = [this, layout](const QString &objectName, const QString &text, bool bold) {
        auto *label = new QLabel(text, this);
        label->setObjectName(objectName);
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
        if (bold) {
            QFont font = label->font();
            font.setBold(true);
            font.setPointSizeF(font.pointSizeF() * 1.2);
            label->setFont(font);
        }
        layout->addWidget(label);
    };
    addLine(QStringLiteral("titleLabel"), event.title.isEmpty() ? tr("(No title)") : event.title,
            true);
    addLine(QStringLiteral("whenLabel"), eventWhenText(event, timeFormat), false);
    if (!calendarName.isEmpty())
        addLine(QStringLiteral("calendarLabel"), calendarName, false);
    if (!event.location.isEmpty())
        addLine(QStringLiteral("locationLabel"), event.location, false);
    if (!event.description.isEmpty())
        addLine(QStringLiteral("descriptionLabel"), event.description, false);
    // Wider with a larger font, so the time line does not break in the middle of a time.
    setMinimumWidth(280 * Theme::fontScale / 100);
    setMaximumWidth(420 * Theme::fontScale / 100);
}

void EventDetailsPopover::showCenteredOn(QWidget *widget)
{
    adjustSize();
    const QWidget *window = widget->window();
    const QPoint centre = window->mapToGlobal(window->rect().center());
    move(centre - QPoint(width() / 2, height() / 2));
    show();
}
