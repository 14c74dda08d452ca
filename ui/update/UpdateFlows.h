#pragma once

// The update flows the application starts: the automatic check at start-up, the manual check
// and What's New from the menu, and the feedback page.

#include "services/update/UpdateConfig.h"

#include <QString>

#include <functional>

class QObject;
class QWidget;

namespace LarkUpdate {

// How a flow reports progress; an empty callback is skipped. They are called at the outcome
// even when the parent widget is gone, so they must stay callable for the whole flow.
struct UiCallbacks
{
    std::function<void(const QString &)> showStatus;
    std::function<void()> clearStatus;
    std::function<void(const QString &, int)> showTimedStatus;
};

// Checks now and reports through the callbacks; a newer release opens the update dialog over
// parent (when it still exists).
void checkForUpdatesInteractive(const UpdateChannelConfig &config, const QString &productName,
                                QWidget *parent, const UiCallbacks &callbacks);

// Shows the running version's release notes; without them the newest release's notes (with a
// Download button); without either, a status message.
void showWhatsNew(const UpdateChannelConfig &config, const QString &productName, QWidget *parent,
                  const UiCallbacks &callbacks);

// The check at start-up: after delayMs, checks once with a client owned by owner (kept for its
// life); a newer release opens the update dialog over window without blocking it, a failure is
// only logged.
constexpr int kAutomaticCheckDelayMs = 1500;
void scheduleAutomaticCheck(const UpdateChannelConfig &config, const QString &productName,
                            QObject *owner, QWidget *window, int delayMs = kAutomaticCheckDelayMs);

// Opens the feedback site with "tags" set to the product (any other query is dropped); says so
// over parent where it could not.
void openFeedbackPage(const FeedbackConfig &config, QWidget *parent);

} // namespace LarkUpdate
