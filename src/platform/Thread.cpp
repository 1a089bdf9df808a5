#include "platform/Thread.h"
#include "platform/Format.h"

#include <pthread.h>

namespace {
thread_local std::string t_name;
}

void setCurrentThreadName(const std::string& name)
{
    t_name = name;
    // The kernel keeps at most 15 characters of a thread's name.
    pthread_setname_np(pthread_self(), name.substr(0, 15).c_str());
}

std::string currentThreadDescription()
{
    return stringWithFormat("<Thread: %p>{name = %s}", reinterpret_cast<void*>(pthread_self()),
        t_name.empty() ? "(null)" : t_name.c_str());
}
