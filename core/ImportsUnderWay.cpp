#include "core/ImportsUnderWay.h"

ImportsUnderWay::ImportsUnderWay(QObject *parent)
    : QObject(parent)
{ }

void ImportsUnderWay::beginImportInto(const QString &calendarId)
{
    if (m_importing[calendarId]++ == 0)
        emit importsChanged();
}

void ImportsUnderWay::endImportInto(const QString &calendarId)
{
    const auto it = m_importing.find(calendarId);
    if (it == m_importing.end())
        return;
    if (--it.value() > 0)
        return;
    m_importing.erase(it);
    emit importsChanged();
}
