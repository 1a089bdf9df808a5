#include "hosts/HostManager.h"
#include "platform/NotificationCenter.h"

#include <algorithm>
#include <algorithm>
#include <any>
#include <malloc.h>

HostManager::HostManager(std::string receiveNotificationName, std::string sendNotificationName)
    : m_receiveName(std::move(receiveNotificationName))
    , m_sendName(std::move(sendNotificationName))
    , m_clock([] { return std::chrono::system_clock::now(); })
{
    NotificationCenter::defaultCenter().addObserver(this, m_receiveName,
        [this](const Notification& notification) { hostFound(notification); });
}

HostManager::~HostManager()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

void HostManager::hostFound(const Notification& notification)
{
    Date now = m_clock();
    auto found = notification.userInfo.find("userInfo");
    if (found == notification.userInfo.end())
        return;
    std::shared_ptr<const HostInfo> entry;
    if (auto constEntry = std::any_cast<std::shared_ptr<const HostInfo>>(&found->second))
        entry = *constEntry;
    else if (auto mutableEntry = std::any_cast<std::shared_ptr<HostInfo>>(&found->second))
        entry = *mutableEntry;
    if (!entry)
        return;
    addObjectToList(*entry, now);
    timeout(now);
    broadcastIfChanged(now);
}

std::shared_ptr<HostInfo> HostManager::findHostIn(const State& state, const HostInfo& entry)
{
    auto identity = entry.identity();
    if (!identity)
        return nullptr;
    auto found = state.index.find(*identity);
    return found == state.index.end() ? nullptr : found->second;
}

bool HostManager::addObjectToList(const HostInfo& entry, Date timestamp)
{
    return m_state.withLocked([&](State& state) {
        if (auto listed = findHostIn(state, entry)) {
            if (listed->refreshYourselfWith(entry))
                state.changed = true;
            listed->_setObject(timestamp, "timestamp");
            state.oldestStampBound = std::min(state.oldestStampBound, timestamp);
            return state.changed;
        }
        // The registry keeps its own copy, never the announcer's object.
        auto copy = entry.copy();
        copy->_setObject(timestamp, "timestamp");
        state.oldestStampBound = std::min(state.oldestStampBound, timestamp);
        state.list.push_back(copy);
        if (auto identity = copy->identity())
            state.index.emplace(*identity, copy);
        state.changed = true;
        return true;
    });
}

std::shared_ptr<const HostInfo> HostManager::findHost(const HostInfo& entry) const
{
    return m_state.withLocked([&](const State& state) { return findHostIn(state, entry); });
}

void HostManager::remove(State& state, std::size_t position)
{
    auto entry = state.list[position];
    state.list.erase(state.list.begin() + static_cast<std::ptrdiff_t>(position));
    if (auto identity = entry->identity())
        state.index.erase(*identity);
    state.changed = true;
}

void HostManager::timeout(Date now)
{
    Date cutoff = now - std::chrono::seconds(m_timeoutValue.load());
    m_state.withLocked([&](State& state) {
        if (cutoff <= state.oldestStampBound)
            return;
        Date oldest = Date::max();
        for (std::size_t position = state.list.size(); position-- > 0;) {
            auto stamp = state.list[position]->objectForKey("timestamp");
            auto date = stamp ? stamp->get<Date>() : nullptr;
            // An entry stamped exactly at the cutoff stays.
            if (!date || cutoff > *date)
                remove(state, position);
            else
                oldest = std::min(oldest, *date);
        }
        state.oldestStampBound = oldest;
    });
}

void HostManager::timeout()
{
    if (m_suspended)
        return;
    Date now = m_clock();
    timeout(now);
    broadcastIfChanged(now);
    releaseMemoryOfDroppedEntries();
}

void HostManager::releaseMemoryOfDroppedEntries()
{
    // Hosts of a flood come and go by the thousand, on the engine thread; the allocator
    // keeps the pages of their entries after they are gone unless asked to give them
    // back. Asked at most once a tick, and only once the list has shrunk by half.
    const std::uint32_t entries = count();
    m_largestCount = std::max(m_largestCount, entries);
    if (m_largestCount - entries < TrimAfterDropping || entries > m_largestCount / 2)
        return;
    malloc_trim(0);
    m_largestCount = entries;
}

void HostManager::broadcastIfChanged(Date date)
{
    auto snapshot = m_state.withLocked([&](State& state) -> std::optional<EntryList> {
        if (!state.changed)
            return std::nullopt;
        state.changed = false;
        state.lastUpdate = date;
        return EntryList(state.list.begin(), state.list.end());
    });
    if (snapshot)
        NotificationCenter::defaultCenter().postNotificationName(m_sendName, this, { { "list", std::move(*snapshot) } });
}

void HostManager::touchAll(Date date)
{
    m_state.withLocked([&](State& state) {
        for (auto entry = state.list.rbegin(); entry != state.list.rend(); ++entry)
            (*entry)->_setObject(date, "timestamp");
        state.oldestStampBound = state.list.empty() ? Date::max() : date;
    });
}

void HostManager::touchAll()
{
    Date now = m_clock();
    touchAll(now);
    broadcastIfChanged(now);
}

void HostManager::setTimeout(std::int32_t seconds)
{
    m_timeoutValue = seconds;
    touchAll();
}

void HostManager::resume()
{
    touchAll();
    m_suspended = false;
}

std::uint32_t HostManager::count() const
{
    return m_state.withLocked([](const State& state) { return static_cast<std::uint32_t>(state.list.size()); });
}

std::shared_ptr<const HostInfo> HostManager::objectAtIndex(std::uint32_t index) const
{
    return m_state.withLocked([&](const State& state) -> std::shared_ptr<const HostInfo> {
        return index < state.list.size() ? state.list[index] : nullptr;
    });
}

HostManager::EntryList HostManager::entries() const
{
    return m_state.withLocked([](const State& state) { return EntryList(state.list.begin(), state.list.end()); });
}

std::optional<Date> HostManager::lastUpdate() const
{
    return m_state.withLocked([](const State& state) { return state.lastUpdate; });
}

void HostManager::setLastUpdate(Date date)
{
    m_state.withLocked([&](State& state) { state.lastUpdate = date; });
}
