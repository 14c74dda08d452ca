#include "ui/dialogs/ColorPickerDialog.h"

#include "ui/ScrollingBody.h"

#include <QBoxLayout>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>

#include <cstdlib>

namespace {
// The dialog's margins and the window's frame beside the picker.
constexpr int kRoomBeside = 64;
} // namespace

ColorPickerDialog::ColorPickerDialog(const QColor &initial, QWidget *parent)
    : QDialog(parent)
    , m_initial(initial)
    , m_picker(new QColorDialog(initial, this))
{
    setObjectName(QStringLiteral("colorPickerDialog"));
    // Qt's own title, in the language its translations are loaded for.
    setWindowTitle(m_picker->windowTitle());
    m_picker->setOptions(QColorDialog::NoButtons | QColorDialog::DontUseNativeDialog);
    m_picker->setWindowFlags(Qt::Widget);
    // Return and Escape inside the picker finish this dialog, not the picker alone; none of the
    // picker's own buttons stands in for OK.
    connect(m_picker, &QDialog::finished, this, &QDialog::done);
    m_picker->installEventFilter(this);
    for (QPushButton *button : m_picker->findChildren<QPushButton *>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    // Side by side, the swatches and the colour field are wider than a small screen at a large
    // scale: there they go one above the other, and the body scrolls down, not sideways.
    const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    QLayout *outer = m_picker->layout();
    auto *halves = outer && outer->count() > 0
        ? qobject_cast<QBoxLayout *>(outer->itemAt(0)->layout())
        : nullptr;
    if (halves && screen
        && m_picker->sizeHint().width() + kRoomBeside > screen->availableGeometry().width())
        halves->setDirection(QBoxLayout::TopToBottom);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new ScrollingBody(m_picker, this), 1);
    layout->addWidget(buttons);
}

QColor ColorPickerDialog::currentColor() const
{
    // Return in one of the picker's hue, saturation or value fields works the colour out again
    // from them, which can move a channel by a unit or two: that is still the colour offered.
    const QColor shown = m_picker->currentColor();
    const auto near = [](int a, int b) {
        return std::abs(a - b) <= 2;
    };
    if (near(shown.red(), m_initial.red()) && near(shown.green(), m_initial.green())
        && near(shown.blue(), m_initial.blue()))
        return m_initial;
    return shown;
}

bool ColorPickerDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_picker && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
