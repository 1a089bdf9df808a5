#pragma once

// What the main controller needs of the search engine: the real one wraps the game's
// query engine, tests use a stand-in that sends nothing. Called on the main thread.
class DiscoveryEngine {
public:
    virtual ~DiscoveryEngine() = default;

    // Starts the engine thread; raises while an old thread is still alive.
    virtual void snoop() = 0;
    // Asks the thread to stop after its current port.
    virtual void suspend() = 0;
    // The thread is alive.
    virtual bool isRunning() const = 0;
    // The thread is alive and not asked to stop.
    virtual bool isVirtuallyRunning() const = 0;
    // The thread is alive but asked to stop: it is winding down.
    virtual bool isUncontrollable() const = 0;
    // Answers whether the speed changed.
    virtual bool setSnoopSpeed(int speed) = 0;
    // The poll time-out in milliseconds.
    virtual int psychologicalFrequency() const = 0;
    // The registry time-out that suits the current speed, in milliseconds.
    virtual int smartTimeoutValueMs() const = 0;
};
