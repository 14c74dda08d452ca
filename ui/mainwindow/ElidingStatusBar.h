#pragma once

// The main window's status bar. Its message gives way to the fields kept right of it (the
// settings-sync trouble, which is read at a glance): where the message does not fit, it ends in
// "…" instead of being cut off mid-word. A message that quotes a line or names something can
// have that part shortened first, so that the words saying what happened stay whole.

#include <QStatusBar>

class QFontMetrics;

class ElidingStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit ElidingStatusBar(QWidget *parent = nullptr);

    // Shows pattern with part in place of its "%1"; the part is what gives way first.
    void showMessageShortening(const QString &pattern, const QString &part);

    // The message as it is drawn: whole, or shortened to the room left of the fields.
    [[nodiscard]] QString shownMessage() const;

    // pattern with part in place of its "%1", in at most width: the part shortened first, and
    // the end only where the words around the part alone do not fit.
    [[nodiscard]] static QString shortened(const QString &pattern, const QString &part,
                                           const QFontMetrics &metrics, int width);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    [[nodiscard]] QRect messageArea() const;

    QString m_pattern;
    QString m_part;
};
