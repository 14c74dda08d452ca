#include "model/CalendarCycle.h"

namespace CalendarCycle {

YearKinds::YearKinds()
{
    for (int k = 0; k < kKinds; ++k)
        m_example[k] = 0;
    for (int y = 0; y < kCycle; ++y) {
        const int kind = kindOf(kBase + y);
        m_kind[size_t(y)] = quint8(kind);
        m_before[size_t(y) + 1] = m_before[size_t(y)];
        ++m_before[size_t(y) + 1][size_t(kind)];
        if (m_example[kind] == 0)
            m_example[kind] = kBase + y;
    }
    for (int k = 0; k < kKinds; ++k) {
        int weekday = k / 2; // of the month's first day
        for (int month = 1; month <= 12; ++month) {
            const int length = daysInMonth(m_example[k], month);
            const int shape = (length - 28) * 7 + weekday;
            m_shape[k][month - 1] = quint8(shape);
            if (m_shapeExample[shape].first == 0)
                m_shapeExample[shape] = {m_example[k], month};
            weekday = (weekday + length) % 7;
        }
    }
    for (int y = 0; y < kCycle; ++y) {
        m_monthsBefore[size_t(y) + 1] = m_monthsBefore[size_t(y)];
        for (int month = 1; month <= 12; ++month)
            ++m_monthsBefore[size_t(y) + 1][m_shape[m_kind[size_t(y)]][month - 1]];
    }
}

} // namespace CalendarCycle
