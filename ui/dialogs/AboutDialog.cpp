#include "ui/dialogs/AboutDialog.h"

#include "ui/ScrollingBody.h"
#include "ui/theme/Theme.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QString resourceText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

} // namespace

AboutDialog::AboutDialog(const QString &productName, const QString &version, QWidget *parent)
    : QDialog(parent)
    , m_licences(new QTabWidget(this))
{
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(tr("About %1").arg(productName));

    auto *icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/app-icon.png")).pixmap(64, 64));
    auto *name = new QLabel(productName, this);
    name->setObjectName(QStringLiteral("productName"));
    QFont nameFont = name->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.4);
    name->setFont(nameFont);
    auto *versionLabel = new QLabel(tr("Version %1").arg(version), this);
    versionLabel->setObjectName(QStringLiteral("versionLabel"));
    auto *summary = new QLabel(
        tr("Calendars, events and tasks on your desktop, in step with your accounts."), this);
    summary->setWordWrap(true);

    auto *heading = new QVBoxLayout;
    heading->addWidget(name);
    heading->addWidget(versionLabel);
    heading->addWidget(summary);
    auto *top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(heading, 1);

    auto *credits = new QLabel(tr("This program carries these fonts and icons under their own "
                                  "licences:"),
                               this);
    credits->setWordWrap(true);

    m_licences->setObjectName(QStringLiteral("licenceTabs"));
    struct Licence
    {
        QString name; // a proper name, the same in every language
        QString terms;
        QString path;
    };
    const Licence licences[] = {
        {QStringLiteral("IBM Plex"),
         tr("The fonts IBM Plex Sans and IBM Plex Mono, under the SIL Open Font License 1.1."),
         QStringLiteral(":/fonts/IBMPlex-OFL.txt")},
        {QStringLiteral("Material Icons"),
         tr("The icon font Material Icons, under the Apache License 2.0."),
         QStringLiteral(":/fonts/MaterialIcons-LICENSE.txt")},
    };
    for (const Licence &licence : licences) {
        auto *page = new QWidget(m_licences);
        auto *terms = new QLabel(licence.terms, page);
        terms->setWordWrap(true);
        auto *text = new QPlainTextEdit(resourceText(licence.path), page);
        text->setReadOnly(true);
        auto *pageLayout = new QVBoxLayout(page);
        pageLayout->addWidget(terms);
        pageLayout->addWidget(text, 1);
        m_licences->addTab(page, licence.name);
    }

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *body = new QWidget(this);
    auto *bodyLayout = new QVBoxLayout(body);
    bodyLayout->setContentsMargins(0, 0, 0, 0);
    bodyLayout->addLayout(top);
    bodyLayout->addWidget(credits);
    bodyLayout->addWidget(m_licences, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new ScrollingBody(body, this), 1);
    layout->addWidget(buttons);
    // At a larger font the body needs more room: it scrolls only on a screen too small for it.
    resize((QSize(620, 520) * Theme::fontScale / 100).expandedTo(sizeHint()));
}
