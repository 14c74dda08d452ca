#include "ui/dialogs/EventFormDialog.h"

#include "core/AppState.h"
#include "core/TimeFormat.h"
#include "model/DateText.h"
#include "model/LocalEvent.h"
#include "storage/Database.h"
#include "storage/EventRepository.h"
#include "storage/PreferenceKeys.h"
#include "storage/PreferencesRepository.h"
#include "ui/ScrollingBody.h"
#include "ui/WindowFit.h"
#include "ui/dialogs/CalendarPickerDialog.h"
#include "ui/theme/Theme.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

EventFormDialog::EventFormDialog(AppState *state, const QDateTime &now, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_title(new QLineEdit(this))
    , m_start(new QDateTimeEdit(this))
    , m_end(new QDateTimeEdit(this))
    , m_allDay(new QCheckBox(tr("All day"), this))
    , m_calendar(new QComboBox(this))
    , m_error(new QLabel(this))
{
    setObjectName(QStringLiteral("eventFormDialog"));
    setWindowTitle(tr("New Event"));
    m_title->setObjectName(QStringLiteral("titleEdit"));
    m_title->setPlaceholderText(tr("Title"));
    m_start->setObjectName(QStringLiteral("startEdit"));
    m_end->setObjectName(QStringLiteral("endEdit"));
    m_allDay->setObjectName(QStringLiteral("allDayCheck"));
    m_calendar->setObjectName(QStringLiteral("calendarCombo"));
    m_error->setObjectName(QStringLiteral("errorLabel"));
    m_error->setWordWrap(true);
    m_error->setStyleSheet(QStringLiteral("color: %1;").arg(Theme::cssColor(Theme::errorText())));
    m_error->hide();

    for (QDateTimeEdit *edit : {m_start, m_end})
        edit->setCalendarPopup(true);
    onAllDayToggled(false);
    const QDateTime local = now.toLocalTime();
    const QDateTime start(local.date(), QTime(local.time().hour(), 0));
    m_start->setDateTime(start.addSecs(3600));
    m_end->setDateTime(start.addSecs(7200));

    CalendarPickerDialog::fillCalendarCombo(
        m_calendar, state, state->preferences()->getString(Prefs::DefaultCalendarId));

    // Moving the start keeps the length of the event.
    m_previousStart = m_start->dateTime();
    connect(m_start, &QDateTimeEdit::dateTimeChanged, this, [this](const QDateTime &newStart) {
        const qint64 length = qMax<qint64>(0, m_previousStart.secsTo(m_end->dateTime()));
        m_end->setDateTime(newStart.addSecs(length));
        m_previousStart = newStart;
    });
    connect(m_allDay, &QCheckBox::toggled, this, &EventFormDialog::onAllDayToggled);
    // A refusal goes once what it named is mended, not only at the next Save.
    const auto recheck = [this] {
        if (!m_refusal.isEmpty() && validationError() != m_refusal) {
            m_refusal.clear();
            m_error->hide();
        }
    };
    connect(m_title, &QLineEdit::textChanged, this, recheck);
    connect(m_start, &QDateTimeEdit::dateTimeChanged, this, recheck);
    connect(m_end, &QDateTimeEdit::dateTimeChanged, this, recheck);
    connect(m_allDay, &QCheckBox::toggled, this, recheck);
    connect(m_calendar, &QComboBox::currentIndexChanged, this, recheck);

    auto *form = new QFormLayout;
    form->addRow(tr("Title:"), m_title);
    form->addRow(tr("Starts:"), m_start);
    form->addRow(tr("Ends:"), m_end);
    form->addRow(QString(), m_allDay);
    form->addRow(tr("Calendar:"), m_calendar);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (!save().isEmpty())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *body = new QWidget(this);
    auto *bodyLayout = new QVBoxLayout(body);
    bodyLayout->setContentsMargins(0, 0, 0, 0);
    bodyLayout->addLayout(form);
    bodyLayout->addWidget(m_error);
    m_body = new ScrollingBody(body, this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_body, 1);
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

void EventFormDialog::onAllDayToggled(bool allDay)
{
    const QString day = DateText::pattern(DateText::Style::ShortWeekdayDateYear);
    const QString format
        = allDay ? day : day + QStringLiteral("  ") + timeOfDayFormat(m_state->preferences());
    m_start->setDisplayFormat(format);
    m_end->setDisplayFormat(format);
}

QString EventFormDialog::validationError() const
{
    if (m_title->text().trimmed().isEmpty())
        return tr("Give the event a title.");
    if (m_calendar->currentData().toString().isEmpty())
        return tr("Choose a calendar.");
    if (m_allDay->isChecked() ? m_end->date() < m_start->date()
                              : m_end->dateTime() < m_start->dateTime())
        return tr("The event ends before it starts.");
    return QString();
}

Event EventFormDialog::buildEvent(const QDateTime &nowUtc) const
{
    Event event = Event::newLocal();
    event.calendar_id = m_calendar->currentData().toString();
    event.title = m_title->text().trimmed();
    event.is_all_day = m_allDay->isChecked();
    if (event.is_all_day) {
        // All-day events end at the midnight after their last day.
        event.start_time = QDateTime(m_start->date(), QTime(0, 0));
        event.end_time = QDateTime(m_end->date().addDays(1), QTime(0, 0));
    } else {
        event.start_time = m_start->dateTime();
        event.end_time = m_end->dateTime();
    }
    return newLocalEvent(std::move(event), nowUtc);
}

QString EventFormDialog::save()
{
    const QString error = validationError();
    if (!error.isEmpty()) {
        showError(error);
        m_refusal = error;
        return QString();
    }
    const Event event = buildEvent(m_state->database()->currentDateTimeUtc());
    if (!m_state->events()->insert(event)) {
        // The form stays open with everything typed: under another program's write a second
        // try works once that program is done. Only the open form holds the event: closed or
        // ended, the program has nothing of it.
        showError(m_state->database()->lastFailureWasBusy()
                      ? tr("Another program is writing to the calendar, so the event is not "
                           "saved yet. Keep this window open and save again once it is done.")
                      : tr("The event could not be saved."));
        return QString();
    }
    m_savedId = event.id;
    return m_savedId;
}

void EventFormDialog::showError(const QString &text)
{
    m_error->setText(text);
    m_error->show();
    // The message takes room of its own: the window grows for it as far as the screen allows,
    // and beyond that the body scrolls, rather than squeeze the fields.
    m_body->updateGeometry();
    if (!isVisible())
        return;
    resize(size().expandedTo(sizeHint()));
    WindowFit::fit(this);
    // Where the body scrolls, the message is what the user looks for.
    QTimer::singleShot(0, this, [this] { m_body->ensureWidgetVisible(m_error); });
}
