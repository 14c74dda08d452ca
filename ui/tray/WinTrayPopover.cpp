#include "ui/tray/WinTrayPopover.h"

#include "core/AppState.h"
#include "core/QuickAddQueue.h"
#include "core/TimeFormat.h"
#include "core/UpcomingOccurrences.h"
#include "model/Clock.h"
#include "model/DateText.h"
#include "model/NLParser.h"
#include "storage/CalendarRepository.h"
#include "storage/EventRepository.h"
#include "storage/FilterRuleRepository.h"
#include "storage/ViewRepository.h"
#include "ui/TabOrder.h"
#include "ui/WindowFit.h"
#include "ui/theme/Theme.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTextLayout>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace TrayPopoverText {

QPoint position(const QPoint &anchor, const QSize &size, const QRect &area)
{
    int x = anchor.x() - size.width() / 2;
    int y = anchor.y() - size.height() - kScreenMargin;
    if (!area.isNull()) {
        x = std::min(x, area.right() - kScreenMargin - size.width());
        x = std::max(x, area.left() + kScreenMargin);
        y = std::min(y, area.bottom() - kScreenMargin - size.height());
        y = std::max(y, area.top() + kScreenMargin);
    }
    return QPoint(x, y);
}

QString relativeTime(qint64 secs)
{
    if (secs <= 0)
        return WinTrayPopover::tr("now");
    if (secs < 3600)
        return WinTrayPopover::tr("in %1 min").arg(std::max<qint64>(secs / 60, 1));
    const qint64 h = secs / 3600;
    const qint64 m = (secs - 3600 * h) / 60;
    if (m != 0)
        return WinTrayPopover::tr("in %1h %2m").arg(h).arg(m);
    return WinTrayPopover::tr("in %1h").arg(h);
}

QString header(const QDateTime &now, const QString &timeFormat)
{
    return DateText::format(now.date(), DateText::Style::WeekdayMonthDay)
        + QStringLiteral("  \u00B7  ") + DateText::time(now.time(), timeFormat);
}

// An all-day start is a date, whatever zone its midnight was stored in.
static QDate startDate(const Event &event)
{
    return event.is_all_day ? event.start_time.date() : event.start_time.toLocalTime().date();
}

QString nextTime(const Event &event, const QDateTime &now, const QString &timeFormat)
{
    const bool isToday = startDate(event) == now.date();
    if (event.is_all_day)
        return isToday ? WinTrayPopover::tr("Today, all day")
                       : WinTrayPopover::tr("Tomorrow, all day");
    QString text = WinTrayPopover::tr("%1 at %2")
                       .arg(isToday ? WinTrayPopover::tr("Today") : WinTrayPopover::tr("Tomorrow"),
                            DateText::time(event.start_time.toLocalTime().time(), timeFormat));
    if (isToday)
        text += QStringLiteral(" \u00B7 ") + relativeTime(now.secsTo(event.start_time));
    return text;
}

QString preview(const NLParser::ParseResult &result, const QString &timeFormat)
{
    // A line read as nothing dated is kept as a task without a date, not as an event.
    if (result.isTask && !result.hasTime && !result.isAllDay)
        return WinTrayPopover::tr("Task without a date") + QStringLiteral("  \u00B7  ")
            + result.title;
    const QDateTime start = result.start.toLocalTime();
    QString text;
    if (result.isAllDay) {
        text = DateText::format(start.date(), DateText::Style::ShortWeekdayMonthDay)
            + QStringLiteral("  \u2012  ") + WinTrayPopover::tr("All-day");
    } else {
        text = DateText::format(start.date(), DateText::Style::ShortWeekdayMonthDay)
            + QStringLiteral("  ") + DateText::time(start.time(), timeFormat);
        if (result.end)
            text += QStringLiteral(" \u2013 ")
                + DateText::time(result.end->toLocalTime().time(), timeFormat);
    }
    if (!result.title.isEmpty())
        text += QStringLiteral("  \u00B7  ") + result.title;
    return text;
}

QColor eventColor(const QString &eventColor, const QString &calendarColor)
{
    const QColor color(eventColor.isEmpty() ? calendarColor : eventColor);
    return color.isValid() ? color : QColor(0x42, 0x85, 0xF4);
}

QString clampLines(const QString &text, const QFont &font, int width, int maxLines)
{
    const QString flat = QString(text).replace(u'\n', u' ');
    QTextLayout layout(flat, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (lines.size() == maxLines - 1) {
            lines << QFontMetrics(font).elidedText(flat.mid(line.textStart()), Qt::ElideRight,
                                                   width);
            break;
        }
        lines << flat.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines.join(u'\n');
}

} // namespace TrayPopoverText

namespace {

void setMuted(QLabel *label)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::All, QPalette::WindowText, Theme::textMuted());
    label->setPalette(pal);
}

QFont adjustedFont(const QFont &base, int deltaPoints, bool bold = false)
{
    QFont f = base;
    if (f.pointSize() > 0)
        f.setPointSize(std::max(f.pointSize() + deltaPoints, 8));
    f.setBold(bold || base.bold());
    return f;
}

// The list asks for the height of its rows, up to a bound, and gives way to a few of them
// where the screen is low: it scrolls itself then, and the rest of the popover stays whole.
class RowsList : public QListWidget
{
public:
    using QListWidget::QListWidget;

    QSize sizeHint() const override
    {
        return QSize(QListWidget::sizeHint().width(), rowsHeight(count()));
    }
    QSize minimumSizeHint() const override
    {
        return QSize(QListWidget::minimumSizeHint().width(),
                     rowsHeight(WinTrayPopover::kLeastListRows));
    }

private:
    int rowsHeight(int rows) const
    {
        int height = 2 * frameWidth();
        for (int row = 0; row < std::min(rows, count()); ++row)
            height += sizeHintForRow(row);
        return std::min(height, WinTrayPopover::kMaxListHeight);
    }
};

} // namespace

WinTrayPopover::WinTrayPopover(AppState *appState, QWidget *parent)
    : QFrame(parent, Qt::Popup)
    , m_appState(appState)
    , m_header(new QLabel(this))
    , m_groups(new QComboBox(this))
    , m_card(new QFrame(this))
    , m_dot(new QLabel(m_card))
    , m_nextTitle(new QLabel(m_card))
    , m_nextTime(new QLabel(m_card))
    , m_nextLocation(new QLabel(m_card))
    , m_list(new RowsList(this))
    , m_quickAdd(new QLineEdit(this))
    , m_hint(new QLabel(this))
    , m_openButton(new QPushButton(tr("Open Calendar"), this))
    , m_syncButton(new QPushButton(tr("Sync Now"), this))
    , m_prefsButton(new QToolButton(this))
    , m_headerTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("trayPopover"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);

    m_header->setObjectName(QStringLiteral("popoverHeader"));
    m_header->setFont(adjustedFont(font(), 2, true));

    m_groups->setObjectName(QStringLiteral("popoverGroups"));

    m_card->setObjectName(QStringLiteral("nextEventCard"));
    m_card->setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    m_dot->setObjectName(QStringLiteral("nextEventDot"));
    m_dot->setFixedSize(14, 14);
    m_nextTitle->setObjectName(QStringLiteral("nextEventTitle"));
    m_nextTitle->setFont(adjustedFont(font(), 0, true));
    m_nextTitle->setWordWrap(true);
    m_nextTitle->setTextFormat(Qt::PlainText);
    m_nextTime->setObjectName(QStringLiteral("nextEventTime"));
    setMuted(m_nextTime);
    m_nextLocation->setObjectName(QStringLiteral("nextEventLocation"));
    m_nextLocation->setWordWrap(true);
    setMuted(m_nextLocation);
    m_nextLocation->hide();

    m_list->setObjectName(QStringLiteral("popoverList"));
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setUniformItemSizes(false);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    // A long title is cut with an ellipsis rather than making the whole list scroll sideways.
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setTextElideMode(Qt::ElideRight);
    m_list->setIconSize(QSize(12, 12)); // the dots are drawn that size

    m_quickAdd->setObjectName(QStringLiteral("popoverQuickAdd"));
    m_quickAdd->setPlaceholderText(tr("Add event \u2014 e.g. \"lunch Thursday 1pm\""));
    m_quickAdd->setClearButtonEnabled(true);

    m_hint->setObjectName(QStringLiteral("popoverHint"));
    m_hint->setWordWrap(true);
    m_hint->setFont(adjustedFont(font(), -1));
    setMuted(m_hint);
    m_hint->hide();

    m_openButton->setObjectName(QStringLiteral("popoverOpen"));
    m_openButton->setDefault(true);
    m_syncButton->setObjectName(QStringLiteral("popoverSync"));
    m_prefsButton->setObjectName(QStringLiteral("popoverPreferences"));
    m_prefsButton->setText(QStringLiteral("\u2699"));
    m_prefsButton->setToolTip(tr("Preferences"));
    m_prefsButton->setAutoRaise(true);
    m_prefsButton->setCursor(Qt::PointingHandCursor);
    m_prefsButton->setFont(adjustedFont(font(), 2));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(8);
    layout->addWidget(m_header);

    auto *groupRow = new QHBoxLayout;
    groupRow->setContentsMargins(0, 0, 0, 0);
    groupRow->setSpacing(6);
    auto *groupLabel = new QLabel(tr("Group"), this);
    setMuted(groupLabel);
    groupRow->addWidget(groupLabel);
    groupRow->addWidget(m_groups, 1);
    layout->addLayout(groupRow);

    auto *cardRow = new QHBoxLayout(m_card);
    cardRow->setContentsMargins(10, 8, 10, 8);
    cardRow->setSpacing(10);
    cardRow->addWidget(m_dot, 0, Qt::AlignTop);
    auto *cardText = new QVBoxLayout;
    cardText->setContentsMargins(0, 0, 0, 0);
    cardText->setSpacing(2);
    cardText->addWidget(m_nextTitle);
    cardText->addWidget(m_nextTime);
    cardText->addWidget(m_nextLocation);
    cardRow->addLayout(cardText, 1);

    layout->addWidget(m_card);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_quickAdd);
    layout->addWidget(m_hint);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(m_openButton);
    buttons->addWidget(m_syncButton);
    buttons->addStretch();
    buttons->addWidget(m_prefsButton);
    layout->addLayout(buttons);
    // Tab goes round every control in the order they are shown, and stays in the popover.
    TabOrder::followLayout(this);

    m_headerTimer->setInterval(kHeaderIntervalMs);

    connect(m_openButton, &QPushButton::clicked, this, [this] {
        emit openMainWindow();
        hide();
    });
    connect(m_syncButton, &QPushButton::clicked, this, [this] {
        emit syncNowRequested();
        hide();
    });
    connect(m_prefsButton, &QToolButton::clicked, this, [this] {
        emit openSettings();
        hide();
    });
    connect(m_groups, &QComboBox::activated, this, &WinTrayPopover::onGroupActivated);
    connect(m_list, &QListWidget::itemClicked, this, &WinTrayPopover::onItemClicked);
    connect(m_quickAdd, &QLineEdit::textChanged, this, &WinTrayPopover::updatePreview);
    connect(m_quickAdd, &QLineEdit::returnPressed, this, &WinTrayPopover::submitQuickAdd);
    connect(m_headerTimer, &QTimer::timeout, this, &WinTrayPopover::updateHeader);

    if (m_appState) {
        if (auto *events = m_appState->events())
            connect(events, &EventRepository::eventsChanged, this, &WinTrayPopover::refresh);
        if (auto *calendars = m_appState->calendars())
            connect(calendars, &CalendarRepository::calendarsChanged, this,
                    &WinTrayPopover::refresh);
        if (auto *rules = m_appState->filterRules())
            connect(rules, &FilterRuleRepository::filterRulesChanged, this,
                    &WinTrayPopover::refresh);
        const auto regroup = [this] {
            rebuildGroups();
            refresh();
        };
        if (auto *views = m_appState->views())
            connect(views, &ViewRepository::viewsChanged, this, regroup);
        connect(m_appState, &AppState::activeViewChanged, this, regroup);
    }
    rebuildGroups();
    updateWidth();
}

void WinTrayPopover::updateWidth()
{
    // Grows with the font scale, and further when the texts (buttons above all, which may be
    // long in some languages) need it.
    const int scaled = kWidth * Theme::fontScale / 100;
    m_quickAdd->setMinimumWidth(WindowFit::placeholderWidth(m_quickAdd));
    layout()->invalidate();
    setFixedWidth(std::max(scaled, layout()->totalMinimumSize().width()));
}

void WinTrayPopover::changeEvent(QEvent *e)
{
    QFrame::changeEvent(e);
    if (e->type() == QEvent::FontChange)
        updateWidth();
}

QDateTime WinTrayPopover::now() const
{
    return Clock::now();
}

QString WinTrayPopover::timeFormat() const
{
    return timeOfDayFormat(m_appState ? m_appState->preferences() : nullptr);
}

bool WinTrayPopover::headerTimerActive() const
{
    return m_headerTimer->isActive();
}

void WinTrayPopover::showAt(const QPoint &point)
{
    m_anchor = point;
    refresh();
    m_quickAdd->clear();
    setHint(QString());
    updateWidth();
    fitToScreen();
    show();
    // The list measures its rows as styled only once shown.
    if (std::clamp(sizeHint().height(), minimumHeight(), maximumHeight()) != height())
        fitToScreen();
    // Each opening starts from what comes next, not from where the list was left.
    m_list->scrollToTop();
    raise();
    activateWindow();
    m_quickAdd->setFocus();
}

void WinTrayPopover::fitToScreen()
{
    QScreen *screen = QGuiApplication::screenAt(m_anchor);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    const int most
        = area.isNull() ? QWIDGETSIZE_MAX : area.height() - 2 * TrayPopoverText::kScreenMargin;
    setMaximumHeight(most);
    showTitle();
    // On a low screen the list keeps the room: the card's event leads the list anyway, so the
    // card gives way, and then the list scrolls.
    m_card->setVisible(m_hasCard);
    layout()->invalidate();
    if (m_hasCard && sizeHint().height() > most)
        m_card->hide();
    // Not adjustSize: it keeps a window within two thirds of the screen, and the list would
    // scroll on a screen with room for all of it.
    layout()->activate();
    resize(width(), std::clamp(sizeHint().height(), minimumHeight(), maximumHeight()));
    move(TrayPopoverText::position(m_anchor, size(), area));
}

void WinTrayPopover::showTitle()
{
    // The width the card leaves its title: the popover's less the frames, margins and dot.
    const QMargins outer = layout()->contentsMargins();
    const QMargins inner = m_card->layout()->contentsMargins();
    const int room = width() - 2 * frameWidth() - outer.left() - outer.right()
        - 2 * m_card->frameWidth() - inner.left() - inner.right() - m_dot->width()
        - m_card->layout()->spacing();
    m_nextTitle->setText(
        TrayPopoverText::clampLines(m_title, m_nextTitle->font(), room - 1, kTitleLines));
}

void WinTrayPopover::setHint(const QString &text)
{
    m_hint->setText(text);
    // The band under the field is there only while it says something.
    if (m_hint->isHidden() == text.isEmpty())
        return;
    m_hint->setVisible(!text.isEmpty());
    if (isVisible())
        fitToScreen();
}

void WinTrayPopover::refresh()
{
    m_list->clear();
    if (!m_appState || !m_appState->calendars())
        return;
    const QList<Calendar> calendars = m_appState->calendars()->listAll();
    m_hasCard = !calendars.isEmpty();
    m_card->setVisible(m_hasCard);
    if (calendars.isEmpty()) {
        m_nextEvent.reset();
        addPlaceholder(tr("No calendars yet"), false);
        fitListToRows();
        return;
    }
    QHash<QString, QString> colors;
    for (const Calendar &c : calendars)
        colors.insert(c.id, c.color);
    const auto colorOf = [&colors](const Event &e) {
        return TrayPopoverText::eventColor(e.color, colors.value(e.calendar_id));
    };

    const QDateTime current = now();
    const QDate today = current.date();
    const QList<Event> occurrences
        = upcomingOccurrences(m_appState->store(), m_appState->activeViewId(), current);

    if (occurrences.isEmpty()) {
        m_nextEvent.reset();
        m_dot->setPixmap(QPixmap());
        m_title = tr("No upcoming events");
        m_nextTime->setText(tr("Nothing scheduled in the next 24 hours."));
        m_nextLocation->hide();
    } else {
        m_nextEvent = occurrences.first();
        m_dot->setPixmap(Theme::dotPixmap(colorOf(*m_nextEvent), 14, 0, devicePixelRatioF()));
        m_title = m_nextEvent->title.isEmpty() ? tr("Untitled") : m_nextEvent->title;
        if (m_nextEvent->location.isEmpty()) {
            m_nextLocation->clear();
            m_nextLocation->hide();
        } else {
            m_nextLocation->setText(m_nextEvent->location);
            m_nextLocation->show();
        }
    }
    showTitle();

    QList<Event> todays, tomorrows;
    for (const Event &e : occurrences) {
        if (TrayPopoverText::startDate(e) <= today)
            todays << e;
        else
            tomorrows << e;
    }
    addSectionHeader(tr("Today"));
    for (const Event &e : std::as_const(todays))
        addOccurrence(e, colorOf(e));
    if (todays.isEmpty())
        addPlaceholder(tr("  No more events today"), true);
    addSectionHeader(tr("Tomorrow"));
    for (const Event &e : std::as_const(tomorrows))
        addOccurrence(e, colorOf(e));
    if (tomorrows.isEmpty())
        addPlaceholder(tr("  Nothing scheduled"), true);
    fitListToRows();

    updateHeader();
}

void WinTrayPopover::fitListToRows()
{
    // The list asks for the room of its new rows; shown, the popover takes it where it can.
    m_list->updateGeometry();
    if (isVisible())
        fitToScreen();
}

void WinTrayPopover::addSectionHeader(const QString &text)
{
    auto *item = new QListWidgetItem(text, m_list);
    QFont f = item->font();
    f.setBold(true);
    item->setFont(f);
    item->setForeground(Theme::textMuted());
    item->setFlags(Qt::NoItemFlags);
    item->setData(HeaderRole, true);
}

void WinTrayPopover::addPlaceholder(const QString &text, bool muted)
{
    auto *item = new QListWidgetItem(text, m_list);
    item->setFlags(Qt::NoItemFlags);
    if (muted)
        item->setForeground(Theme::textMuted());
}

void WinTrayPopover::addOccurrence(const Event &occurrence, const QColor &color)
{
    const QString when = occurrence.is_all_day
        ? tr("All-day")
        : formatTimeOfDay(m_appState->preferences(), occurrence.start_time.toLocalTime());
    auto *item = new QListWidgetItem(QIcon(Theme::dotPixmap(color, 12, 1, devicePixelRatioF())),
                                     QStringLiteral("%1  %2").arg(when, occurrence.title), m_list);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    item->setData(DateRole, TrayPopoverText::startDate(occurrence));
    item->setData(EventIdRole, occurrence.id);
}

void WinTrayPopover::updateHeader()
{
    const QDateTime current = now();
    m_header->setText(TrayPopoverText::header(current, timeFormat()));
    if (m_nextEvent)
        m_nextTime->setText(TrayPopoverText::nextTime(*m_nextEvent, current, timeFormat()));
}

void WinTrayPopover::rebuildGroups()
{
    const bool wasBlocked = m_groups->blockSignals(true);
    m_groups->clear();
    if (m_appState && m_appState->views()) {
        const QList<CalendarView> views = m_appState->views()->listActive();
        for (const CalendarView &v : views) {
            QString name = v.name.isEmpty() ? tr("(Unnamed)") : v.name;
            // The built-in group is stored under its English name; it reads in the interface
            // language unless the user renamed it.
            if (v.id == QLatin1String("all-calendars") && v.name == QLatin1String("All Calendars"))
                name = tr("All Calendars");
            m_groups->addItem(name, v.id);
        }
        const int active = m_groups->findData(m_appState->activeViewId());
        if (active >= 0)
            m_groups->setCurrentIndex(active);
    }
    m_groups->blockSignals(wasBlocked);
}

void WinTrayPopover::onGroupActivated(int index)
{
    if (index < 0 || !m_appState)
        return;
    const QString id = m_groups->itemData(index).toString();
    if (!id.isEmpty() && id != m_appState->activeViewId())
        m_appState->setActiveViewId(id);
}

void WinTrayPopover::onItemClicked(QListWidgetItem *item)
{
    if (!item || item->data(HeaderRole).toBool())
        return;
    const QString id = item->data(EventIdRole).toString();
    const QDate date = item->data(DateRole).toDate();
    if (id.isEmpty() || !date.isValid())
        return;
    emit requestFocusOnEvent(id, date);
    hide();
}

void WinTrayPopover::updatePreview(const QString &text)
{
    setHint(text.trimmed().isEmpty()
                ? QString()
                : TrayPopoverText::preview(NLParser::parse(text, now()), timeFormat()));
}

void WinTrayPopover::submitQuickAdd()
{
    const QString text = m_quickAdd->text().trimmed();
    if (text.isEmpty())
        return;
    if (!m_appState || !m_appState->calendars() || m_appState->calendars()->listAll().isEmpty()) {
        emit openMainWindow();
        hide();
        return;
    }
    // A line that waits for another program's write is kept and stored later.
    if (m_appState->quickAdds()->add(text, QString(), now()) == QuickAddOutcome::Refused) {
        setHint(tr("Couldn't save event"));
        return;
    }
    hide();
}

bool WinTrayPopover::event(QEvent *e)
{
    if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(e)->key() == Qt::Key_Escape) {
        hide();
        return true;
    }
    return QFrame::event(e);
}

void WinTrayPopover::showEvent(QShowEvent *e)
{
    QFrame::showEvent(e);
    updateHeader();
    m_headerTimer->start();
}

void WinTrayPopover::hideEvent(QHideEvent *e)
{
    m_headerTimer->stop();
    QFrame::hideEvent(e);
}
