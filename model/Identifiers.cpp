#include "model/Identifiers.h"

#include <QUuid>

QString newId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}
