#pragma once

#include <mutex>
#include <utility>

// Data that lives inside its lock and is reached only through withLocked().
template<typename T>
class Guarded {
public:
    template<typename... Args>
    explicit Guarded(Args&&... args)
        : m_value(std::forward<Args>(args)...)
    {
    }

    template<typename Function>
    decltype(auto) withLocked(Function&& function)
    {
        std::lock_guard lock(m_mutex);
        return std::forward<Function>(function)(m_value);
    }

    template<typename Function>
    decltype(auto) withLocked(Function&& function) const
    {
        std::lock_guard lock(m_mutex);
        return std::forward<Function>(function)(m_value);
    }

private:
    mutable std::mutex m_mutex;
    T m_value;
};
