#pragma once

// A small window that says what the program waits for (another program's write, another start)
// while it goes on by itself once that is over, and one button that stops waiting.

#include <QString>

class QDialog;
class QWidget;

namespace WaitNotice {

// Not modal, not shown yet; the caller owns it. Its button, Escape and the close button reject
// it (QDialog::rejected); closing it from code does not.
QDialog *make(QWidget *parent, const QString &title, const QString &text, const QString &stopText);

} // namespace WaitNotice
