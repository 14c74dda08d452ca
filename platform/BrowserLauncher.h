#pragma once

// The user's web browser, behind one replaceable function so that a test can take the address
// a sign-in opens (and make the launch fail) instead of starting a real browser.

#include <QUrl>

#include <functional>

namespace BrowserLauncher {

using Launcher = std::function<bool(const QUrl &url)>;

// Opens the address in the system browser; false when no browser could be started.
[[nodiscard]] bool open(const QUrl &url);

// Replaces the system browser; an empty function brings it back.
void setLauncher(Launcher launcher);

} // namespace BrowserLauncher
