#pragma once

// Pieces the account pages and the share dialog are built from, and the rule by which they
// replace a page's content.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class QColor;
class QFrame;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace LarkAccount::AccountWidgets {

// A plain-text label: names and addresses come from the server.
QLabel *label(const QString &text, QWidget *parent);
// A push button with that object name; Return presses it when it has the focus, as in a dialog.
QPushButton *button(const QString &text, const char *name, QWidget *parent);
// The theme's muted colour, for details under a name.
void makeSecondary(QWidget *widget);
// One point smaller, but not below 7.
void makeSmall(QWidget *widget, int by = 1);
void setWeight(QWidget *widget, int weight);
void setTextColor(QWidget *widget, const QColor &color);

QLabel *pageTitle(const QString &title, QWidget *parent);
QWidget *sectionHeader(const QString &title, const QString &subtitle, QWidget *parent);
QFrame *separator(QWidget *parent);
// A page: a vertical layout with margins 24 and the page's title.
QVBoxLayout *pageLayout(QWidget *page, const QString &title);

// A row of a list page, added to into: the texts column on the left; controls go on the line
// after it.
struct ListRow
{
    QHBoxLayout *line;
    QVBoxLayout *texts;
};
ListRow listRow(QVBoxLayout *into, int vertical = 6);

// Green, red and teal that read well on the current palette.
QColor successColor();
QColor errorColor();
QColor ownerColor();

// Replaces the content widgets of a window's pages. A replaced widget is hidden at once; it is
// deleted only while none of the window's prompts is open, because a prompt runs inside the
// click handler of a button that may belong to the replaced content.
class ContentSwap : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Takes current out of layout (it is retired), puts a new content widget at index and
    // returns it.
    QWidget *replace(QVBoxLayout *layout, int index, QPointer<QWidget> &current);
    // The same, with a column layout of that spacing on the new content, which is returned.
    QVBoxLayout *replaceWithColumn(QVBoxLayout *layout, int index, QPointer<QWidget> &current,
                                   int spacing, const QString &name);
    void retire(QWidget *widget);

    // Held while a prompt of the window is open.
    class PromptScope
    {
    public:
        explicit PromptScope(ContentSwap *swap);
        ~PromptScope();
        PromptScope(const PromptScope &) = delete;
        PromptScope &operator=(const PromptScope &) = delete;

    private:
        QPointer<ContentSwap> m_swap;
    };

private:
    int m_openPrompts = 0;
    QList<QPointer<QWidget>> m_parked;
};

} // namespace LarkAccount::AccountWidgets
