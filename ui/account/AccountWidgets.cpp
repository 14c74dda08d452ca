#include "ui/account/AccountWidgets.h"

#include "ui/theme/Theme.h"

#include <QApplication>
#include <QColor>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace LarkAccount::AccountWidgets {

namespace {

bool darkPalette()
{
    return QApplication::palette().color(QPalette::Window).lightness() < 128;
}

void adjustFont(QWidget *widget, int pointDelta, int weight)
{
    QFont font = widget->font();
    if (pointDelta != 0)
        font.setPointSize(qMax(7, font.pointSize() + pointDelta));
    if (weight > 0)
        font.setWeight(QFont::Weight(weight));
    widget->setFont(font);
}

} // namespace

QLabel *label(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(parent);
    l->setTextFormat(Qt::PlainText);
    l->setText(text);
    return l;
}

QPushButton *button(const QString &text, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(true);
    return b;
}

void setTextColor(QWidget *widget, const QColor &color)
{
    // The application's style sheet colours every label; only a sheet of its own overrides it.
    widget->setStyleSheet(QStringLiteral("color: %1;").arg(color.name()));
}

void makeSecondary(QWidget *widget)
{
    // The application's style sheet gives muted labels the theme's muted colour.
    widget->setProperty("muted", true);
}

void makeSmall(QWidget *widget, int by)
{
    // Smaller than the text around it, but never below the type scale's small step.
    const int points = widget->font().pointSize();
    adjustFont(widget, std::max(-by, std::min(Theme::fontSm, points) - points), 0);
}

void setWeight(QWidget *widget, int weight)
{
    adjustFont(widget, 0, weight);
}

QLabel *pageTitle(const QString &title, QWidget *parent)
{
    QLabel *l = label(title, parent);
    adjustFont(l, 4, 600);
    return l;
}

QWidget *sectionHeader(const QString &title, const QString &subtitle, QWidget *parent)
{
    auto *header = new QWidget(parent);
    auto *layout = new QVBoxLayout(header);
    layout->setContentsMargins(0, 0, 0, 8);
    QLabel *titleLabel = label(title, header);
    adjustFont(titleLabel, 1, 500);
    layout->addWidget(titleLabel);
    if (!subtitle.isEmpty()) {
        QLabel *sub = label(subtitle, header);
        sub->setWordWrap(true);
        makeSecondary(sub);
        makeSmall(sub, 2);
        layout->addWidget(sub);
    }
    return header;
}

QFrame *separator(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QVBoxLayout *pageLayout(QWidget *page, const QString &title)
{
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(8);
    layout->addWidget(pageTitle(title, page));
    layout->addSpacing(12);
    return layout;
}

ListRow listRow(QVBoxLayout *into, int vertical)
{
    auto *line = new QHBoxLayout;
    line->setContentsMargins(12, vertical, 0, vertical);
    auto *texts = new QVBoxLayout;
    texts->setSpacing(2);
    line->addLayout(texts);
    into->addLayout(line);
    return {line, texts};
}

QColor successColor()
{
    return darkPalette() ? QColor(0x66, 0xBB, 0x6A) : QColor(0x2E, 0x7D, 0x32);
}

QColor errorColor()
{
    return Theme::errorText();
}

QColor ownerColor()
{
    return darkPalette() ? QColor(0x4D, 0xB6, 0xAC) : QColor(0x00, 0x79, 0x6B);
}

QWidget *ContentSwap::replace(QVBoxLayout *layout, int index, QPointer<QWidget> &current)
{
    if (current) {
        layout->removeWidget(current);
        retire(current);
    }
    auto *content = new QWidget(layout->parentWidget());
    layout->insertWidget(index, content);
    current = content;
    return content;
}

QVBoxLayout *ContentSwap::replaceWithColumn(QVBoxLayout *layout, int index,
                                            QPointer<QWidget> &current, int spacing,
                                            const QString &name)
{
    QWidget *content = replace(layout, index, current);
    content->setObjectName(name);
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(spacing);
    return column;
}

void ContentSwap::retire(QWidget *widget)
{
    widget->hide();
    if (m_openPrompts > 0)
        m_parked << widget;
    else
        widget->deleteLater();
}

ContentSwap::PromptScope::PromptScope(ContentSwap *swap)
    : m_swap(swap)
{
    ++m_swap->m_openPrompts;
}

ContentSwap::PromptScope::~PromptScope()
{
    if (!m_swap || --m_swap->m_openPrompts > 0)
        return;
    // The handler that opened the prompt is still running; deleteLater waits for it.
    const auto parked = std::exchange(m_swap->m_parked, {});
    for (const QPointer<QWidget> &widget : parked) {
        if (widget)
            widget->deleteLater();
    }
}

} // namespace LarkAccount::AccountWidgets
