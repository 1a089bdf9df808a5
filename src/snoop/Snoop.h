#pragma once

#include "platform/Data.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

class Ip;
class VELRawUDPBroadcastSocket;
class VELUDPBroadcastSocket;

// The discovery engine: one background thread that broadcasts a request over a range of
// ports, listens for answers with a short poll timeout, hands every answer that did not
// come from this host to the subclass, and sends back the subclass's reply. Paced by one
// of four speeds (-1..2): it listens one poll timeout per port and never sleeps.
//
// Lifecycle: create with std::make_shared (the thread holds a reference, so the engine
// lives while it runs). The main thread calls snoop() to start the thread and suspend()
// to ask it to stop; the thread ends after its current port, closing its sockets, or
// when an exception reaches its top (logged and handed to postExceptionToApplication()).
// Thread affinity: the public state operations are for the main thread; the run flag,
// the thread flag and the speed fields are atomics read by the engine thread. Sockets,
// prepare(), close(), broadcast() and the answer handler belong to the engine thread
// (or to an idle engine).
class Snoop : public std::enable_shared_from_this<Snoop> {
public:
    virtual ~Snoop();
    Snoop(const Snoop&) = delete;
    Snoop& operator=(const Snoop&) = delete;

    // Starts the engine thread; raises when one still exists, even one asked to stop.
    void snoop();
    // Asks the thread to stop after its current port.
    void suspend();
    // Sets the run flag again (a thread asked to stop keeps going); starts no thread.
    void resume();

    bool isRunning() const { return m_thread; }
    bool isVirtuallyRunning() const { return m_doSnoop && m_thread; }
    // A thread exists that was asked to stop and has not ended yet.
    bool isUncontrollable() const { return !isVirtuallyRunning() && isRunning(); }
    // Waits up to the timeout for the thread to end; true when none runs.
    bool waitUntilStopped(std::chrono::milliseconds timeout) const;

    // False, changing nothing, for the current speed; a speed outside -1..2 fails the
    // assertion. Otherwise restarts the count of listening sweeps.
    bool setSnoopSpeed(std::int32_t speed);
    std::int32_t snoopSpeed() const { return m_snoopSpeed; }
    // A registry time-out that suits the speed: four request cycles plus a second.
    std::int32_t smartTimeoutValueMs() const;
    // The poll timeout, for pacing animations.
    std::int32_t psychologicalFrequency() const { return static_cast<std::int32_t>(m_pollSleepValue.load()); }
    std::uint32_t sleepValue() const { return m_sleepValue; }
    // Sweeps finished since the engine was created, over every run; any thread.
    std::uint64_t sweepCount() const { return m_sweepCount; }
    std::uint32_t sleepTimer() const { return m_sleepTimer; }

    // Opens the sockets that are missing: the raw one if the privilege allows (silently
    // none otherwise), the plain one bound to receivePort() with port reuse (raises).
    void prepare();
    bool isValid() const;
    void close();
    // Through the raw socket when there is one and it is its turn, else the plain one.
    void broadcast(const Data& data, std::uint16_t port);

    virtual std::string description() const;

protected:
    // Speed 0, run flag set; no socket, no thread.
    Snoop();

    // What the subclass supplies.
    virtual std::uint16_t startPort() const = 0;
    virtual std::uint32_t nPorts() const = 0;
    virtual std::uint16_t receivePort() const = 0;
    virtual Data serverRequest() const = 0;
    // Called on the engine thread for every datagram not dropped; returns the reply.
    virtual std::optional<Data> handleAnswer(const Data& datagram, const Ip& sender, std::uint16_t port) = 0;

    // The sockets the engine opens; tests substitute sockets that never broadcast.
    virtual std::unique_ptr<VELUDPBroadcastSocket> makeSocket() const;
    virtual std::unique_ptr<VELRawUDPBroadcastSocket> makeRawSocket() const;

private:
    void _snoop();
    void runSweeps();
    bool _poll(const Data& request, bool sendStuff);
    enum class Heard { Nothing, Ignored, Answer };
    Heard listen(std::chrono::steady_clock::time_point until);
    void _setSnoopSpeed();
    void threadEnded();

    std::atomic<std::int32_t> m_snoopSpeed { 0 };
    std::atomic<bool> m_doSnoop { true };
    std::atomic<bool> m_thread { false };
    std::atomic<std::uint32_t> m_sleepTimer { 0 };
    std::atomic<std::uint32_t> m_sleepValue { 0 };
    std::atomic<std::uint32_t> m_pollSleepValue { 0 };
    std::atomic<std::uint64_t> m_sweepCount { 0 };
    // Engine thread only; survives restarts so raw and plain keep taking turns.
    bool m_flipFlop = false;
    std::unique_ptr<VELUDPBroadcastSocket> m_socket;
    std::unique_ptr<VELRawUDPBroadcastSocket> m_rawSocket;

    mutable std::mutex m_endMutex;
    mutable std::condition_variable m_ended;
};
