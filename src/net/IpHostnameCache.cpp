#include "net/IpHostnameCache.h"
#include "platform/Exception.h"
#include "platform/ExceptionFunnel.h"
#include "platform/Log.h"
#include "platform/Thread.h"

IpHostnameCache::~IpHostnameCache() { stopThread(); }

IpHostnameCache& IpHostnameCache::sharedInstance()
{
    // Never destroyed: at exit the worker may still sit in a lookup, and joining it
    // would hold up the end of the program.
    static auto* instance = new IpHostnameCache;
    return *instance;
}

std::string IpHostnameCache::nameForIp(const Ip& ip)
{
    std::string dotted = ip.description();
    {
        std::lock_guard lock(m_mutex);
        if (auto cached = m_cache.find(dotted); cached != m_cache.end())
            return cached->second;
        m_work.push_back(ip);
        m_workWaiting = true;
    }
    // Outside m_mutex: starting takes m_threadMutex, which stopThread holds while it
    // waits for the worker, and the worker needs m_mutex to finish.
    lazyInit();
    m_signal.notify_one();
    return dotted;
}

void IpHostnameCache::lazyInit()
{
    std::lock_guard lock(m_threadMutex);
    if (m_running)
        return;
    if (m_worker.joinable())
        m_worker.join();
    m_running = true;
    m_worker = std::thread(&IpHostnameCache::handleWork, this);
}

void IpHostnameCache::stopThread()
{
    std::lock_guard lock(m_threadMutex);
    if (!m_running)
        return;
    {
        std::lock_guard dataLock(m_mutex);
        m_running = false;
        m_workWaiting = true;
    }
    m_signal.notify_one();
    // A worker that ended through an exception has already returned: join() is then
    // immediate, so this never waits for a thread that is gone.
    if (m_worker.joinable())
        m_worker.join();
}

void IpHostnameCache::handleWork()
{
    setCurrentThreadName("IpHostnameCache");
    try {
        // Every wake resolves everything queued before the stop flag is looked at, so
        // stopThread returns only after the addresses queued before it are resolved.
        bool running = true;
        while (running) {
            std::vector<Ip> work;
            {
                std::unique_lock lock(m_mutex);
                m_signal.wait(lock, [this] { return m_workWaiting; });
                m_workWaiting = false;
                work.swap(m_work);
                running = m_running;
            }
            resolvePass(std::move(work));
        }
    } catch (const Exception& exception) {
        reportWorkerException(exception);
    } catch (const std::exception& exception) {
        reportWorkerException(Exception(Exception::GenericException, exception.what()));
    }
}

void IpHostnameCache::resolvePass(std::vector<Ip> work)
{
    for (const Ip& ip : work) {
        std::string dotted = ip.description();
        // A failed lookup caches the dotted form, so the address is not looked up again.
        std::string name = ip.hostname().value_or(dotted);
        std::lock_guard lock(m_mutex);
        m_cache.insert_or_assign(std::move(dotted), std::move(name));
    }
}

void IpHostnameCache::reportWorkerException(const Exception& exception)
{
    logMessage("%s handling exception", currentThreadDescription().c_str());
    postExceptionToApplication(exception);
    logMessage("%s thru handling exception", currentThreadDescription().c_str());
}
