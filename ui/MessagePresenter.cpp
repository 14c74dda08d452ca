#include "ui/MessagePresenter.h"

#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>

#include <memory>

namespace {

template<typename H> H &installed()
{
    static H handler;
    return handler;
}

} // namespace

namespace MessagePresenter {

void show(Kind kind, QWidget *parent, const QString &title, const QString &text)
{
    if (const Handler &handler = installed<Handler>()) {
        handler(kind, parent, title, text);
        return;
    }
    const std::unique_ptr<QMessageBox> shown(box(kind, parent, title, text));
    shown->exec();
}

QMessageBox *box(Kind kind, QWidget *parent, const QString &title, const QString &text)
{
    const QMessageBox::Icon icon = kind == Kind::Information ? QMessageBox::Information
        : kind == Kind::Warning                              ? QMessageBox::Warning
                                                             : QMessageBox::Critical;
    auto *made = new QMessageBox(icon, title, text, QMessageBox::Ok, parent);
    made->setTextFormat(Qt::PlainText);
    // Codes and addresses in a box are there to be copied.
    made->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return made;
}

bool ask(QWidget *parent, const QString &title, const QString &text)
{
    if (const QuestionHandler &handler = installed<QuestionHandler>())
        return handler(title, text);
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> askText(QWidget *parent, const QString &title, const QString &label,
                               bool password, const QString &initial)
{
    if (const TextHandler &handler = installed<TextHandler>())
        return handler(title, label, password, initial);
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(label);
    dialog.setTextEchoMode(password ? QLineEdit::Password : QLineEdit::Normal);
    dialog.setTextValue(initial);
    const auto labels = dialog.findChildren<QLabel *>();
    for (QLabel *child : labels)
        child->setTextFormat(Qt::PlainText);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

void setHandler(Handler handler)
{
    installed<Handler>() = std::move(handler);
}

void setQuestionHandler(QuestionHandler handler)
{
    installed<QuestionHandler>() = std::move(handler);
}

void setTextHandler(TextHandler handler)
{
    installed<TextHandler>() = std::move(handler);
}

} // namespace MessagePresenter
