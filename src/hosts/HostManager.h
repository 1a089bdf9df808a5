#pragma once

#include "hosts/HostInfo.h"
#include "platform/Guarded.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

struct Notification;

// A registry of hosts: adds or refreshes the host announced by the found notification,
// drops hosts silent for longer than the time-out, and posts the changed notification
// after every add, change or drop. Concrete registries name the two notifications.
//
// Threads: hostFound() runs on the announcing thread (the engine); the rest is called
// from the main thread. Every operation is safe against the other thread: the list and
// its index live inside one lock, readers get the entry itself (entries lock themselves)
// or a snapshot of the list. Observers of the changed notification run on the thread
// that caused the change, outside the lock.
class HostManager {
public:
    using EntryList = std::vector<std::shared_ptr<const HostInfo>>;
    // The registry's time source; tests inject one so that nothing sleeps.
    using Clock = std::function<Date()>;

    virtual ~HostManager();
    HostManager(const HostManager&) = delete;
    HostManager& operator=(const HostManager&) = delete;

    const std::string& receiveNotificationName() const { return m_receiveName; }
    const std::string& sendNotificationName() const { return m_sendName; }

    // The found notification's handler: user info "userInfo" holds the announced entry
    // as std::shared_ptr<const HostInfo> (or <HostInfo>); anything else is ignored. Adds or refreshes it, ages the list (even when
    // suspended) and announces any change.
    void hostFound(const Notification& notification);

    // Keeps a copy of a new host stamped with the date, or refreshes and re-stamps the
    // known one. Returns whether a change is waiting to be announced.
    bool addObjectToList(const HostInfo& entry, Date timestamp);
    // The listed entry of the same host, looked up by address and port.
    std::shared_ptr<const HostInfo> findHost(const HostInfo& entry) const;

    // Drops every entry whose "timestamp" is older than now minus the time-out.
    void timeout(Date now);
    // Unless suspended: timeout(now) and broadcastIfChanged(now).
    void timeout();
    // Posts the changed notification with a snapshot of the list under "list" when a
    // change waits, and remembers the date as lastUpdate().
    void broadcastIfChanged(Date date);
    // Re-stamps every entry; not a change by itself.
    void touchAll(Date date);
    void touchAll();

    // Seconds of silence after which an entry goes; re-stamps every entry.
    void setTimeout(std::int32_t seconds);
    std::int32_t timeoutValue() const { return m_timeoutValue; }

    void suspend() { m_suspended = true; }
    // Re-stamps every entry, then ends the suspension.
    void resume();
    bool isSuspended() const { return m_suspended; }

    std::uint32_t count() const;
    // The entry at that position in the order hosts were first heard of; null when the
    // engine dropped it since count() was read.
    std::shared_ptr<const HostInfo> objectAtIndex(std::uint32_t index) const;
    // The whole list at one moment, for readers that need count and rows to agree.
    EntryList entries() const;

    std::optional<Date> lastUpdate() const;
    void setLastUpdate(Date date);

    // Replaces the time source; call before the engine runs.
    void setClock(Clock clock) { m_clock = std::move(clock); }
    Date now() const { return m_clock(); }

protected:
    // Starts observing the found notification from any sender; time-out 10 s.
    HostManager(std::string receiveNotificationName, std::string sendNotificationName);

private:
    struct State {
        std::vector<std::shared_ptr<HostInfo>> list;
        std::unordered_map<HostInfo::Identity, std::shared_ptr<HostInfo>, HostInfo::IdentityHash> index;
        bool changed = false;
        std::optional<Date> lastUpdate;
        // No entry is stamped earlier: lets the scan that follows every answer skip a
        // long list in which nothing can have expired yet.
        Date oldestStampBound = Date::max();
    };

    static std::shared_ptr<HostInfo> findHostIn(const State& state, const HostInfo& entry);
    // Hands the memory of many dropped entries back to the system (main thread, tick).
    void releaseMemoryOfDroppedEntries();
    static constexpr std::uint32_t TrimAfterDropping = 256;
    static void remove(State& state, std::size_t position);

    const std::string m_receiveName;
    const std::string m_sendName;
    Guarded<State> m_state;
    std::atomic<bool> m_suspended { false };
    std::atomic<std::int32_t> m_timeoutValue { 10 };
    std::uint32_t m_largestCount = 0; // since the last trim; touched by timeout() only
    Clock m_clock;
};
