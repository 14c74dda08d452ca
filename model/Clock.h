#pragma once

#include <QDate>
#include <QDateTime>

#include <functional>

// The program's one source of "now". Everything that behaves by the current time asks here, so a
// test pins the time for the whole program in one place. Elapsed-time measures (QElapsedTimer)
// and log stamps may read the wall clock themselves. No class keeps a clock of its own: the
// time stamps the repositories write come from here too (Database::currentDateTimeUtc).
namespace Clock {

using Source = std::function<QDateTime()>;

// The current time in the local zone, in UTC, and today's local date.
[[nodiscard]] QDateTime now();
[[nodiscard]] QDateTime nowUtc();
[[nodiscard]] QDate today();

// Replaces the source of "now" for the whole program; an empty source brings the wall clock back.
void setSource(Source source);

// Pins "now" to the given source while it lives, then brings back the one before.
class Override
{
public:
    explicit Override(Source source);
    ~Override();
    Override(const Override &) = delete;
    Override &operator=(const Override &) = delete;

private:
    Source m_previous;
};

} // namespace Clock
