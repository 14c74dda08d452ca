#pragma once

// "About": the program's name and version, and the licences of the fonts and icons it carries.

#include <QDialog>

class QTabWidget;

class AboutDialog : public QDialog
{
    Q_OBJECT
public:
    AboutDialog(const QString &productName, const QString &version, QWidget *parent);

    // One tab per bundled font family or icon set, with its licence text.
    QTabWidget *licences() const { return m_licences; }

private:
    QTabWidget *m_licences;
};
