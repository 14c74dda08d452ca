#include "storage/AllOrNothing.h"

#include "storage/Savepoint.h"

#include <QDebug>
#include <QObject>

#include <vector>

namespace Sql {

bool applyAllOrNothing(QSqlDatabase db, const QString &name, const QList<QObject *> &quiet,
                       const std::function<bool()> &write, const std::function<void()> &announce)
{
    {
        std::vector<bool> wasBlocked;
        wasBlocked.reserve(quiet.size());
        for (QObject *object : quiet)
            wasBlocked.push_back(object->blockSignals(true));
        const auto restore = [&] {
            for (qsizetype i = quiet.size() - 1; i >= 0; --i)
                quiet.at(i)->blockSignals(wasBlocked.at(std::size_t(i)));
        };
        Savepoint savepoint(db, name);
        if (!savepoint.isActive()) {
            qWarning().noquote() << "[Sql]" << name << "not begun:" << savepoint.errorText();
            restore();
            return false;
        }
        if (!write()) {
            savepoint.rollback();
            restore();
            return false;
        }
        const bool kept = savepoint.release();
        restore();
        if (!kept) {
            qWarning().noquote() << "[Sql]" << name << "not committed:" << savepoint.errorText();
            return false;
        }
    }
    if (announce)
        announce();
    return true;
}

} // namespace Sql
