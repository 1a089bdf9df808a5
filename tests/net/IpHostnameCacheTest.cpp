#include "FakeResolver.h"

#include "net/IpHostnameCache.h"
#include "platform/Exception.h"
#include "platform/ExceptionFunnel.h"
#include "platform/Log.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <condition_variable>
#include <future>

namespace {

using namespace std::chrono_literals;

// A resolver whose reverse lookups are counted and can be held at a gate, so a test
// decides when a lookup ends.
class GatedResolver final : public Resolver {
public:
    std::map<std::uint32_t, std::string> names;
    std::optional<std::uint32_t> failing; // raises instead of answering

    std::string hostName() const override { return "testhost"; }
    std::vector<std::uint32_t> addressesForName(const std::string&) const override { return {}; }
    std::vector<InterfaceAddress> interfaceAddresses() const override { return {}; }

    std::optional<std::string> nameForAddress(std::uint32_t address) const override
    {
        std::unique_lock lock(m_mutex);
        ++m_lookups[address];
        m_entered.notify_all();
        m_opened.wait(lock, [this] { return m_open; });
        if (failing == address)
            Exception::raise("resolver broke");
        auto found = names.find(address);
        return found == names.end() ? std::nullopt : std::optional(found->second);
    }

    void close()
    {
        std::lock_guard lock(m_mutex);
        m_open = false;
    }
    void open()
    {
        {
            std::lock_guard lock(m_mutex);
            m_open = true;
        }
        m_opened.notify_all();
    }
    int lookups(std::uint32_t address) const
    {
        std::lock_guard lock(m_mutex);
        return m_lookups[address];
    }
    // Waits (bounded) until a lookup of the address has begun.
    bool waitForLookup(std::uint32_t address) const
    {
        std::unique_lock lock(m_mutex);
        return m_entered.wait_for(lock, 5s, [&] { return m_lookups[address] > 0; });
    }

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_entered;
    mutable std::condition_variable m_opened;
    mutable std::map<std::uint32_t, int> m_lookups;
    bool m_open = true;
};

const Ip Fragbox(0xC0A80102);  // 192.168.1.2, has a name
const Ip Nameless(0xC0A80107); // 192.168.1.7, has none
const Ip Other(0xC0A80109);    // 192.168.1.9

class HostnameCache : public ::testing::Test {
protected:
    HostnameCache() { m_resolver->names[Fragbox.unsignedLong()] = "fragbox.lan"; }

    std::shared_ptr<GatedResolver> m_resolver = std::make_shared<GatedResolver>();
    ResolverScope m_scope { m_resolver };
};

bool eventuallyNamed(IpHostnameCache& cache, const Ip& ip, const std::string& name)
{
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (cache.nameForIp(ip) != name) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

} // namespace

TEST_F(HostnameCache, AnswersDottedFormAtOnceThenTheName)
{
    IpHostnameCache cache;
    EXPECT_EQ(cache.nameForIp(Fragbox), "192.168.1.2");
    EXPECT_TRUE(eventuallyNamed(cache, Fragbox, "fragbox.lan"));
    EXPECT_EQ(cache.nameForIp(Ip(0xC0A80102)), "fragbox.lan") << "equal addresses share one entry";
}

TEST_F(HostnameCache, FailedLookupIsCachedAsDottedFormAndNeverRepeated)
{
    IpHostnameCache cache;
    EXPECT_EQ(cache.nameForIp(Nameless), "192.168.1.7");
    cache.stopThread();
    EXPECT_EQ(m_resolver->lookups(Nameless.unsignedLong()), 1);
    EXPECT_EQ(cache.nameForIp(Nameless), "192.168.1.7");
    cache.stopThread(); // would resolve anything the second ask had queued
    EXPECT_EQ(m_resolver->lookups(Nameless.unsignedLong()), 1);
}

// The lookup of one address is held at the gate: askers still get their answer, and
// what they queue meanwhile is resolved (twice, when asked twice) once it opens.
TEST_F(HostnameCache, AskersNeverWaitForABlockedLookup)
{
    IpHostnameCache cache;
    m_resolver->close();
    cache.nameForIp(Nameless);
    ASSERT_TRUE(m_resolver->waitForLookup(Nameless.unsignedLong()));

    auto asker = std::async(std::launch::async, [&] { return cache.nameForIp(Fragbox) + " " + cache.nameForIp(Fragbox); });
    const bool answered = asker.wait_for(5s) == std::future_status::ready;
    m_resolver->open();
    ASSERT_TRUE(answered) << "the asker waited for the resolver";
    EXPECT_EQ(asker.get(), "192.168.1.2 192.168.1.2");

    cache.stopThread();
    EXPECT_EQ(m_resolver->lookups(Fragbox.unsignedLong()), 2);
    EXPECT_EQ(cache.nameForIp(Fragbox), "fragbox.lan");
}

TEST_F(HostnameCache, StopThreadReturnsAfterQueuedAddressesAreResolved)
{
    IpHostnameCache idle;
    idle.stopThread(); // no worker: returns at once

    IpHostnameCache cache;
    for (const Ip& ip : { Fragbox, Nameless, Other })
        cache.nameForIp(ip);
    cache.stopThread();
    for (const Ip& ip : { Fragbox, Nameless, Other }) {
        SCOPED_TRACE(ip.description());
        EXPECT_EQ(m_resolver->lookups(ip.unsignedLong()), 1);
    }
    EXPECT_EQ(cache.nameForIp(Fragbox), "fragbox.lan");
}

// An exception ends the worker and reaches the application; the cache keeps answering
// and stopping does not wait for the ended worker.
TEST_F(HostnameCache, WorkerExceptionGoesToTheApplication)
{
    std::promise<std::string> posted;
    setExceptionSink([&](const Exception& exception) { posted.set_value(exception.reason()); });
    std::vector<std::string> lines;
    std::mutex linesMutex;
    setLogSink([&](const std::string& line) {
        std::lock_guard lock(linesMutex);
        lines.push_back(line);
    });
    m_resolver->failing = Nameless.unsignedLong();

    IpHostnameCache cache;
    cache.nameForIp(Nameless);
    auto reason = posted.get_future();
    ASSERT_EQ(reason.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(reason.get(), "resolver broke");
    EXPECT_EQ(cache.nameForIp(Fragbox), "192.168.1.2");
    cache.stopThread();
    setExceptionSink({});
    setLogSink({});

    EXPECT_EQ(m_resolver->lookups(Fragbox.unsignedLong()), 0) << "no second worker after an exception";
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("{name = IpHostnameCache} handling exception"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("{name = IpHostnameCache} thru handling exception"), std::string::npos) << lines[1];
}

// The worker is never stopped at exit: a lookup it starts while the program's static
// objects are being destroyed must still find the resolver. The exit handler, registered
// before the resolver's holder exists, runs after everything made later is destroyed.
TEST(HostnameCacheAtExit, ResolverOutlivesTheProgramsStaticObjects)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            std::atexit(+[] {
                if (Ip(0xC0A80102).hostname() != "fragbox.lan")
                    std::_Exit(3);
            });
            // The holder is the resolver's only owner.
            Resolver::setShared([] {
                auto resolver = std::make_shared<FakeResolver>();
                resolver->reverse[0xC0A80102] = "fragbox.lan";
                return resolver;
            }());
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}
