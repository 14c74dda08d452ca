#include "platform/BrowserLauncher.h"

#include <QDesktopServices>

namespace BrowserLauncher {

namespace {

Launcher &replacement()
{
    static Launcher launcher;
    return launcher;
}

} // namespace

bool open(const QUrl &url)
{
    if (const Launcher &launcher = replacement())
        return launcher(url);
    return QDesktopServices::openUrl(url);
}

void setLauncher(Launcher launcher)
{
    replacement() = std::move(launcher);
}

} // namespace BrowserLauncher
