#pragma once

#include "app/DiscoveryEngine.h"

#include <memory>

class Snoop;

// The game's query engine as the main controller sees it.
class SnoopEngine final : public DiscoveryEngine {
public:
    explicit SnoopEngine(std::shared_ptr<Snoop> snoop);
    // Stops the engine thread and waits briefly for it, so that it does not outlive
    // what it posts to at the program's end.
    ~SnoopEngine() override;

    void snoop() override;
    void suspend() override;
    bool isRunning() const override;
    bool isVirtuallyRunning() const override;
    bool isUncontrollable() const override;
    bool setSnoopSpeed(int speed) override;
    int psychologicalFrequency() const override;
    int smartTimeoutValueMs() const override;

private:
    std::shared_ptr<Snoop> m_snoop;
};
