#pragma once

// What the update flows need to know about their channel and the feedback site. Both are built
// once from the build configuration and the environment (app/Endpoints) and passed by value.

#include <QString>
#include <QUrl>

struct UpdateChannelConfig
{
    QString product;
    QString channel;
    QUrl manifestBaseUrl; // empty when no release feed is configured: checks then send nothing
    QString currentVersion;
};

struct FeedbackConfig
{
    QString product;
    QUrl pageUrl;
};

// Product "calendar", channel "stable", the feed's "calendar/stable/" folder, the running version.
UpdateChannelConfig updateChannelConfig();
// Product "calendar" and the root of the feedback site (empty when not configured).
FeedbackConfig feedbackConfig();
