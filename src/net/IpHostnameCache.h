#pragma once

#include "net/Ip.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

class Exception;

// Tells the name of an address at once: from the cache, or the dotted form while a
// worker thread of its own looks the name up. A failed lookup caches the dotted form,
// so that address is never looked up again. Askers never wait for the resolver.
//
// Threads: any thread may ask (nameForIp). The worker is started by the first ask for
// an uncached address and lives until stopThread() (or the destructor); it touches only
// the queue and the cache, under m_mutex, and calls Ip::hostname() outside the lock.
class IpHostnameCache {
public:
    IpHostnameCache() = default;
    // Stops the worker (waiting for queued lookups).
    ~IpHostnameCache();
    IpHostnameCache(const IpHostnameCache&) = delete;
    IpHostnameCache& operator=(const IpHostnameCache&) = delete;

    // The program's cache, created at the first call and kept until the program ends.
    static IpHostnameCache& sharedInstance();

    // The cached name, or the dotted form while the name is unknown (the address is
    // then queued for the worker). Never blocks on a lookup, never raises for an address.
    std::string nameForIp(const Ip& ip);

    // Starts the worker unless one was started already.
    void lazyInit();

    // Stops the worker after it has resolved every address queued now, and waits for
    // it. Returns at once when no worker runs or the worker already ended.
    void stopThread();

private:
    void handleWork();
    void resolvePass(std::vector<Ip> work);
    // Logs the exception that ended the worker and hands it to the application.
    static void reportWorkerException(const Exception& exception);

    std::mutex m_mutex;                 // guards m_work, m_cache, m_workWaiting
    std::condition_variable m_signal;   // work queued, or stop asked
    std::vector<Ip> m_work;
    std::unordered_map<std::string, std::string> m_cache;
    bool m_workWaiting = false;         // the signal: several sets before a wake count once

    std::atomic<bool> m_running { false };
    std::mutex m_threadMutex;           // serialises starting and joining the worker
    std::thread m_worker;
};
