#pragma once

#include "app/ServerRecord.h"

#include <cstddef>
#include <vector>

// What the main controller needs of the server registry. The real one is the process-wide
// registry fed by the engine thread, so every call must be safe against its changes.
// Called on the main thread; changes are announced by "ServerManagerChanged".
class ServerRegistry {
public:
    virtual ~ServerRegistry() = default;

    virtual std::size_t count() const = 0;
    // A copy of every entry, in registry order.
    virtual std::vector<ServerRecord> snapshot() const = 0;
    virtual bool contains(const ServerRecord& server) const = 0;
    virtual void setTimeout(int seconds) = 0;
    // Drops entries older than the time-out unless suspended; announces a change at once.
    virtual void timeout() = 0;
    virtual void suspend() = 0;
    // Re-stamps every entry, then ends the suspension.
    virtual void resume() = 0;
};
