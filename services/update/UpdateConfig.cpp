#include "services/update/UpdateConfig.h"

#include "platform/Endpoints.h"
#include "services/update/FeedAccess.h"

namespace {

const QString kProduct = QStringLiteral("calendar");

} // namespace

UpdateChannelConfig updateChannelConfig()
{
    UpdateChannelConfig config;
    config.product = kProduct;
    config.channel = QStringLiteral("stable");
    config.currentVersion = QStringLiteral(LARK_VERSION);
    const QString feed = Endpoints::updateFeedUrl();
    if (!feed.isEmpty()) {
        config.manifestBaseUrl = LarkUpdate::appendToPath(
            QUrl(feed, QUrl::TolerantMode), config.product + u'/' + config.channel + u'/');
    }
    return config;
}

FeedbackConfig feedbackConfig()
{
    FeedbackConfig config;
    config.product = kProduct;
    const QString page = Endpoints::feedbackUrl();
    if (!page.isEmpty())
        config.pageUrl = QUrl(page, QUrl::TolerantMode);
    return config;
}
