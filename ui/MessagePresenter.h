#pragma once

// Modal message boxes go through here so that tests can take them instead of blocking on them.

#include <QString>

#include <functional>

class QWidget;

namespace MessagePresenter {

enum class Kind { Information, Warning, Critical };

using Handler
    = std::function<void(Kind kind, QWidget *parent, const QString &title, const QString &text)>;

// Shows a box with the single button OK, or hands it to the installed handler.
void show(Kind kind, QWidget *parent, const QString &title, const QString &text);

// Replaces the box; an empty handler brings the box back.
void setHandler(Handler handler);

} // namespace MessagePresenter
