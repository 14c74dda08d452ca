#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

// Runs `step` once, after the window's first paint has been done, so that work the window does
// not show (reading the store for the tray, say) does not hold up its first picture. A window
// that is hidden, or none, lets the step run as soon as the event loop does. Nothing runs once
// `context` is gone.
void afterFirstPaint(QWidget *window, QObject *context, std::function<void()> step);
