#include "model/Identifiers.h"

#include "model/Clock.h"

#include <QUuid>

QString newId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QString newOrderedId()
{
    // A version 7 UUID: 48 bits of milliseconds since the epoch, then random bits.
    QUuid id = QUuid::createUuid();
    const quint64 ms = quint64(Clock::nowUtc().toMSecsSinceEpoch());
    id.data1 = uint(ms >> 16);
    id.data2 = ushort(ms & 0xffff);
    id.data3 = ushort(0x7000 | (id.data3 & 0x0fff));
    return id.toString(QUuid::WithoutBraces);
}
