#pragma once

// Lists the accounts with their calendars, adds calendars kept on this device, moves them into
// the cloud and shares cloud calendars with the user's group.

#include "model/Records.h"

#include <QDialog>
#include <QHash>
#include <QPointer>

class AppState;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace LarkAccount {
class ShareMembersDialog;
}
namespace Larkspindle {
class CalendarUpgradeService;
}

class AccountsCalendarsDialog : public QDialog
{
    Q_OBJECT
public:
    AccountsCalendarsDialog(AppState *state, QWidget *parent);

    // Adds a calendar of that name to the on-device account (created when missing). The new
    // calendar's id, or empty when nothing was stored.
    static QString addLocalCalendar(AppState *state, const QString &name, const QString &color);

    // A calendar of the cloud service, shared as it is.
    static bool isCloudCalendar(const Calendar &calendar);
    // A calendar kept on this device, which moves into the cloud before it can be shared.
    static bool isOnDeviceCalendar(const Account &account, const Calendar &calendar);

    QTreeWidget *tree() const { return m_tree; }
    QLineEdit *nameEdit() const { return m_name; }
    QLabel *cloudStatus() const { return m_cloudStatus; }

public slots:
    void reload();
    void addCalendarFromForm();
    // The selected calendar: shared at once when in the cloud, moved there first when kept on
    // this device.
    void shareSelected();
    void moveSelectedToCloud();

signals:
    void shareDialogOpened(LarkAccount::ShareMembersDialog *dialog);

private:
    std::optional<Calendar> selectedCalendar() const;
    void updateCloudButtons();
    void startMove(const Calendar &calendar, bool shareAfter);
    void openShareDialog(const QString &calendarName, const QString &serverId);

    AppState *m_state;
    QTreeWidget *m_tree;
    QLineEdit *m_name;
    QPushButton *m_share = nullptr;
    QPushButton *m_move = nullptr;
    QLabel *m_cloudStatus = nullptr;
    // Moves this dialog started: calendar id -> share once it is in the cloud.
    QHash<QString, bool> m_moves;
    QPointer<Larkspindle::CalendarUpgradeService> m_mover;
};
