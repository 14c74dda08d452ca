#include "model/Clock.h"

#include <mutex>

namespace {

// Reads come from worker threads too (sync runs), so the source is guarded.
std::mutex &sourceMutex()
{
    static std::mutex mutex;
    return mutex;
}

Clock::Source &source()
{
    static Clock::Source s;
    return s;
}

Clock::Source currentSource()
{
    std::lock_guard<std::mutex> lock(sourceMutex());
    return source();
}

} // namespace

namespace Clock {

QDateTime now()
{
    const Source s = currentSource();
    return s ? s().toLocalTime() : QDateTime::currentDateTime();
}

QDateTime nowUtc()
{
    const Source s = currentSource();
    return s ? s().toUTC() : QDateTime::currentDateTimeUtc();
}

QDate today()
{
    return now().date();
}

void setSource(Source s)
{
    std::lock_guard<std::mutex> lock(sourceMutex());
    source() = std::move(s);
}

Override::Override(Source s)
    : m_previous(currentSource())
{
    setSource(std::move(s));
}

Override::~Override()
{
    setSource(std::move(m_previous));
}

} // namespace Clock
