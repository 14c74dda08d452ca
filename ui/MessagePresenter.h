#pragma once

// Modal message boxes, questions and one-line prompts go through here so that tests can take
// them instead of blocking on them. Texts are shown as plain text: they may carry names that
// came from a server or another device.

#include <QString>

#include <functional>
#include <optional>

class QMessageBox;
class QWidget;

namespace MessagePresenter {

enum class Kind { Information, Warning, Critical };

using Handler
    = std::function<void(Kind kind, QWidget *parent, const QString &title, const QString &text)>;
using QuestionHandler = std::function<bool(const QString &title, const QString &text)>;
using TextHandler = std::function<std::optional<QString>(const QString &title, const QString &label,
                                                         bool password, const QString &initial)>;

// Shows a box with the single button OK, or hands it to the installed handler.
void show(Kind kind, QWidget *parent, const QString &title, const QString &text);

// The box show() shows, made but not shown; the caller owns it.
QMessageBox *box(Kind kind, QWidget *parent, const QString &title, const QString &text);

// A Yes/No question whose default is No; true only for Yes.
bool ask(QWidget *parent, const QString &title, const QString &text);

// One line of text; nothing when the prompt was cancelled.
std::optional<QString> askText(QWidget *parent, const QString &title, const QString &label,
                               bool password = false, const QString &initial = QString());

// Replace the boxes and prompts; an empty handler brings the real one back.
void setHandler(Handler handler);
void setQuestionHandler(QuestionHandler handler);
void setTextHandler(TextHandler handler);

} // namespace MessagePresenter
