#pragma once

#include <QCoreApplication>
#include <QSet>
#include <QString>

namespace Sync {

// The links or tokens of one paged listing, followed one after another. A server that hands out
// a link it gave before (a cycle, however long) or more pages than any real account fills would
// keep a run going for ever, each answer counting as progress: such a listing is refused.
class PageChain
{
    Q_DECLARE_TR_FUNCTIONS(Sync::PageChain)

public:
    // Pages of one listing. Even at ten items a page this is 50,000 calendars or events, far
    // beyond a real account, and a server that answers at once reaches it within about a minute.
    static constexpr int maxPages = 5000;
    // The bound in force: maxPages, unless a test lowered it for a while.
    static int limit();

    // Swaps the bound for as long as it lives, so that a test of an endless listing takes
    // milliseconds. Not for the program itself: its bound is fixed.
    class LimitOverride
    {
    public:
        explicit LimitOverride(int pages);
        ~LimitOverride();
        LimitOverride(const LimitOverride &) = delete;
        LimitOverride &operator=(const LimitOverride &) = delete;

    private:
        int m_saved;
    };

    // Whether the next link or token may be followed: false when it came before in this chain
    // or the chain would grow past limit().
    [[nodiscard]] bool follow(const QString &next);
    // A new listing: nothing seen.
    void restart() { m_seen.clear(); }

    // Why a listing was refused, naming the service that sent it.
    static QString endlessText(const QString &service);

private:
    QSet<QString> m_seen;
};

} // namespace Sync
