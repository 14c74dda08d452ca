#include "ui/MessagePresenter.h"

#include <QMessageBox>

namespace {
MessagePresenter::Handler &installedHandler()
{
    static MessagePresenter::Handler handler;
    return handler;
}
} // namespace

namespace MessagePresenter {

void show(Kind kind, QWidget *parent, const QString &title, const QString &text)
{
    if (installedHandler()) {
        installedHandler()(kind, parent, title, text);
        return;
    }
    switch (kind) {
    case Kind::Information:
        QMessageBox::information(parent, title, text, QMessageBox::Ok);
        break;
    case Kind::Warning:
        QMessageBox::warning(parent, title, text, QMessageBox::Ok);
        break;
    case Kind::Critical:
        QMessageBox::critical(parent, title, text, QMessageBox::Ok);
        break;
    }
}

void setHandler(Handler handler)
{
    installedHandler() = std::move(handler);
}

} // namespace MessagePresenter
