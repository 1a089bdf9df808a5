#include "app/SnoopEngine.h"

#include "snoop/Snoop.h"

SnoopEngine::SnoopEngine(std::shared_ptr<Snoop> snoop)
    : m_snoop(std::move(snoop))
{
}

SnoopEngine::~SnoopEngine()
{
    // One poll time-out at the slowest speed, with room to spare.
    constexpr std::chrono::milliseconds WindDown { 2000 };
    m_snoop->suspend();
    m_snoop->waitUntilStopped(WindDown);
}

void SnoopEngine::snoop()
{
    m_snoop->snoop();
}

void SnoopEngine::suspend()
{
    m_snoop->suspend();
}

bool SnoopEngine::isRunning() const
{
    return m_snoop->isRunning();
}

bool SnoopEngine::isVirtuallyRunning() const
{
    return m_snoop->isVirtuallyRunning();
}

bool SnoopEngine::isUncontrollable() const
{
    return m_snoop->isUncontrollable();
}

bool SnoopEngine::setSnoopSpeed(int speed)
{
    return m_snoop->setSnoopSpeed(speed);
}

int SnoopEngine::psychologicalFrequency() const
{
    return m_snoop->psychologicalFrequency();
}

int SnoopEngine::smartTimeoutValueMs() const
{
    return m_snoop->smartTimeoutValueMs();
}
