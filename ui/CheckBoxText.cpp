#include "ui/CheckBoxText.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QStyle>

namespace CheckBoxText {

namespace {

// A click on the text toggles the box, as a click on a check box's own text does.
class ClickToggles : public QObject
{
public:
    ClickToggles(QCheckBox *box, QLabel *text)
        : QObject(text)
        , m_box(box)
    {
        text->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonRelease
            && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton
            && m_box->isEnabled()) {
            m_box->setFocus(Qt::MouseFocusReason);
            m_box->click();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QCheckBox *m_box;
};

// The box as high as a line of the text, so that its mark sits beside the first line.
class FirstLineHigh : public QObject
{
public:
    FirstLineHigh(QCheckBox *box, QLabel *text)
        : QObject(text)
        , m_box(box)
        , m_text(text)
    {
        text->installEventFilter(this);
        follow();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
            follow();
        return QObject::eventFilter(watched, event);
    }

private:
    void follow() { m_box->setMinimumHeight(m_text->fontMetrics().lineSpacing()); }

    QCheckBox *m_box;
    QLabel *m_text;
};

// Focus reached from the keyboard brings the whole row into view, not the box and the first line
// of its text alone, where a scroll area holds it.
class RowComesIntoView : public QObject
{
public:
    RowComesIntoView(QCheckBox *box, QWidget *row)
        : QObject(row)
        , m_box(box)
        , m_row(row)
    {
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn
            && static_cast<QFocusEvent *>(event)->reason() != Qt::MouseFocusReason) {
            for (QWidget *up = m_row->parentWidget(); up; up = up->parentWidget()) {
                auto *area = qobject_cast<QScrollArea *>(up);
                if (area && area->widget() && area->widget()->isAncestorOf(m_row)) {
                    area->ensureWidgetVisible(m_row);
                    // A row higher than the view shows its box.
                    area->ensureWidgetVisible(m_box);
                    break;
                }
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QCheckBox *m_box;
    QWidget *m_row;
};

bool isKatakana(QChar c)
{
    return (c.unicode() >= 0x30a1 && c.unicode() <= 0x30fa) || c.unicode() == 0x30fc;
}

// Japanese may wrap between any two characters, and a katakana word split across two lines
// reads as two words: a word joiner between each two of its letters keeps it on one line.
QString katakanaWordsWhole(const QString &text)
{
    QString kept;
    kept.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i > 0 && isKatakana(text.at(i - 1)) && isKatakana(text.at(i)))
            kept += QChar(0x2060);
        kept += text.at(i);
    }
    return kept;
}

} // namespace

QWidget *wrapped(QCheckBox *box)
{
    auto *row = new QWidget(box->parentWidget());
    auto *text = new QLabel(katakanaWordsWhole(box->text()), row);
    // Beside the box from the first line on, however high the row.
    text->setAlignment(Qt::AlignLeading | Qt::AlignTop);
    text->setObjectName(box->objectName() + QStringLiteral("Text"));
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    text->setBuddy(box);
    box->setAccessibleName(box->text());
    box->setText(QString());
    box->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(box->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box));
    layout->addWidget(box, 0, Qt::AlignTop);
    layout->addWidget(text, 1);
    new ClickToggles(box, text);
    new FirstLineHigh(box, text);
    new RowComesIntoView(box, row);
    return row;
}

} // namespace CheckBoxText
