#include "core/sync/PageChain.h"

#include <utility>

namespace Sync {

namespace {

int &currentLimit()
{
    static int pages = PageChain::maxPages;
    return pages;
}

} // namespace

int PageChain::limit()
{
    return currentLimit();
}

PageChain::LimitOverride::LimitOverride(int pages)
    : m_saved(std::exchange(currentLimit(), pages))
{ }

PageChain::LimitOverride::~LimitOverride()
{
    currentLimit() = m_saved;
}

bool PageChain::follow(const QString &next)
{
    if (m_seen.size() >= limit() || m_seen.contains(next))
        return false;
    m_seen.insert(next);
    return true;
}

QString PageChain::endlessText(const QString &service)
{
    return tr("%1 sent a listing that never ends (a page came again, or more than %Ln page(s)); "
              "it was stopped.",
              nullptr, limit())
        .arg(service);
}

} // namespace Sync
