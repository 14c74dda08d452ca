#include "ui/dialogs/CalendarPickerDialog.h"

#include "core/AppState.h"
#include "core/LocalCalendar.h"
#include "storage/AccountRepository.h"
#include "storage/CalendarRepository.h"
#include "ui/theme/Theme.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CalendarPickerDialog::CalendarPickerDialog(AppState *state, const QString &prompt, QWidget *parent)
    : QDialog(parent)
    , m_calendars(new QComboBox(this))
{
    setObjectName(QStringLiteral("calendarPickerDialog"));
    setWindowTitle(tr("Choose Calendar"));
    m_calendars->setObjectName(QStringLiteral("calendarCombo"));
    fillCalendarCombo(m_calendars, state);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setEnabled(hasCalendars());
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(prompt, this);
    label->setWordWrap(true);
    layout->addWidget(label);
    layout->addWidget(m_calendars);
    layout->addWidget(buttons);
}

QList<Calendar> CalendarPickerDialog::writableCalendars(AppState *state)
{
    QList<Calendar> result;
    const QList<Calendar> all = state->calendars()->listAll();
    for (const Calendar &calendar : all) {
        if (!calendar.is_read_only)
            result << calendar;
    }
    return result;
}

void CalendarPickerDialog::fillCalendarCombo(QComboBox *combo, AppState *state,
                                             const QString &preferredId)
{
    combo->clear();
    int select = -1;
    const QList<Calendar> calendars = writableCalendars(state);
    QHash<QString, int> nameCount;
    for (const Calendar &calendar : calendars)
        ++nameCount[calendar.name];
    for (const Calendar &calendar : calendars) {
        // Two calendars of one name are told apart by their accounts.
        QString label = LocalCalendar::displayName(calendar);
        if (nameCount.value(calendar.name) > 1) {
            const std::optional<Account> account = state->accounts()->byId(calendar.account_id);
            if (account && !account->name.isEmpty())
                label = tr("%1 (%2)", "calendar name and its account's name")
                            .arg(label, LocalCalendar::displayName(*account));
        }
        combo->addItem(Theme::colorDotIcon(calendar.color), label, calendar.id);
        if (calendar.id == preferredId || (select < 0 && calendar.is_default))
            select = combo->count() - 1;
    }
    if (select >= 0)
        combo->setCurrentIndex(select);
}

bool CalendarPickerDialog::hasCalendars() const
{
    return m_calendars->count() > 0;
}

QString CalendarPickerDialog::selectedCalendarId() const
{
    return m_calendars->currentData().toString();
}

void CalendarPickerDialog::selectCalendar(const QString &calendarId)
{
    const int index = m_calendars->findData(calendarId);
    if (index >= 0)
        m_calendars->setCurrentIndex(index);
}
