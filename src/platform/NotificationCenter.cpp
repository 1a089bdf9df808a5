#include "platform/NotificationCenter.h"

#include <algorithm>

struct NotificationCenter::Registration {
    const void* observer;
    std::string name;
    const void* object;
    Handler handler;
    // Held while the handler runs; recursive so a handler may remove its own observer.
    std::recursive_mutex callMutex;
    bool removed = false;
};

NotificationCenter& NotificationCenter::defaultCenter()
{
    // Never destroyed: the engine thread is not stopped at exit and may still post.
    static auto* center = new NotificationCenter;
    return *center;
}

void NotificationCenter::addObserver(const void* observer, std::string name, Handler handler, const void* object)
{
    auto registration = std::make_shared<Registration>();
    registration->observer = observer;
    registration->name = std::move(name);
    registration->object = object;
    registration->handler = std::move(handler);
    std::lock_guard lock(m_mutex);
    m_registrations.push_back(std::move(registration));
}

void NotificationCenter::removeObserver(const void* observer)
{
    std::vector<std::shared_ptr<Registration>> removed;
    {
        std::lock_guard lock(m_mutex);
        auto split = std::stable_partition(m_registrations.begin(), m_registrations.end(),
            [observer](const auto& registration) { return registration->observer != observer; });
        removed.assign(split, m_registrations.end());
        m_registrations.erase(split, m_registrations.end());
    }
    for (auto& registration : removed) {
        std::lock_guard callLock(registration->callMutex);
        registration->removed = true;
    }
}

void NotificationCenter::postNotification(const Notification& notification)
{
    std::vector<std::shared_ptr<Registration>> matching;
    {
        std::lock_guard lock(m_mutex);
        for (const auto& registration : m_registrations) {
            if (registration->name == notification.name
                && (!registration->object || registration->object == notification.object))
                matching.push_back(registration);
        }
    }
    for (auto& registration : matching) {
        std::lock_guard callLock(registration->callMutex);
        if (!registration->removed)
            registration->handler(notification);
    }
}

void NotificationCenter::postNotificationName(std::string name, const void* object, std::map<std::string, std::any> userInfo)
{
    postNotification(Notification { std::move(name), object, std::move(userInfo) });
}
