// The suspend and resume buttons stop and start the engine, each start opening fresh
// sockets and a fresh thread: a thousand cycles must leave no descriptor and no thread
// behind; and a receive port held by another program ends a run with a clear failure,
// while the next start, once the port is free, searches again. The sockets here never
// send; the plain one binds an ephemeral port unless a test picks one.
#include "net/VELRawUDPBroadcastSocket.h"
#include "net/VELUDPBroadcastSocket.h"
#include "net/VELUDPSocket.h"
#include "platform/Exception.h"
#include "platform/ExceptionFunnel.h"
#include "platform/Log.h"
#include "snoop/Snoop.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <thread>

namespace {

using namespace std::chrono_literals;

class SilentSocket final : public VELUDPBroadcastSocket {
public:
    void send(const Data&, std::uint32_t, std::uint16_t) override { }
    using VELSocket::send;
};

// Opens a real raw descriptor when allowed (so its closing is counted too), never sends.
class SilentRawSocket final : public VELRawUDPBroadcastSocket {
public:
    void send(const Data&, std::uint32_t, std::uint16_t) override { }
    using VELSocket::send;
};

class CyclingSnoop final : public Snoop {
public:
    std::uint16_t startPort() const override { return 40000; }
    std::uint32_t nPorts() const override { return 1; }
    std::uint16_t port = 0;
    std::uint16_t receivePort() const override { return port; }
    Data serverRequest() const override { return dataFromString("ask"); }
    std::optional<Data> handleAnswer(const Data&, const Ip&, std::uint16_t) override { return std::nullopt; }
    std::unique_ptr<VELUDPBroadcastSocket> makeSocket() const override { return std::make_unique<SilentSocket>(); }
    std::unique_ptr<VELRawUDPBroadcastSocket> makeRawSocket() const override { return std::make_unique<SilentRawSocket>(); }
};

std::size_t entriesIn(const char* directory)
{
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(directory), {}));
}

// A thread that has said it ended may take a moment to leave the process.
bool settlesAtMost(const char* directory, std::size_t expected)
{
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (entriesIn(directory) > expected) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

}

TEST(EngineCycles, AThousandSuspendResumeCyclesLeaveNoDescriptorOrThread)
{
    auto engine = std::make_shared<CyclingSnoop>();
    engine->setSnoopSpeed(2);
    // One cycle first: a runtime (a sanitizer's, for one) may start a lasting thread of its
    // own at the first thread the process makes.
    engine->snoop();
    engine->suspend();
    ASSERT_TRUE(engine->waitUntilStopped(5s));
    const std::size_t descriptors = entriesIn("/proc/self/fd");
    const std::size_t threads = entriesIn("/proc/self/task");
    for (int cycle = 0; cycle < 1000; ++cycle) {
        engine->snoop();
        engine->suspend();
        ASSERT_TRUE(engine->waitUntilStopped(5s)) << "cycle " << cycle;
    }
    EXPECT_TRUE(settlesAtMost("/proc/self/task", threads)) << entriesIn("/proc/self/task") << " threads, " << threads << " before";
    EXPECT_EQ(entriesIn("/proc/self/fd"), descriptors);
    EXPECT_FALSE(engine->isRunning());
}

TEST(EngineCycles, AReceivePortHeldWithoutReuseEndsTheRunClearlyAndAStartRetries)
{
    // Another program holds the port on every address, without port reuse.
    auto holder = std::make_unique<VELUDPSocket>();
    ASSERT_FALSE(holder->open());
    holder->bindSocket(Ip::any(), 0);
    sockaddr_in bound {};
    socklen_t length = sizeof bound;
    ASSERT_EQ(::getsockname(holder->descriptor(), reinterpret_cast<sockaddr*>(&bound), &length), 0);
    auto engine = std::make_shared<CyclingSnoop>();
    engine->port = ntohs(bound.sin_port);

    std::promise<std::string> posted;
    setExceptionSink([&](const Exception& exception) { posted.set_value(exception.reason()); });
    setLogSink([](const std::string&) { });
    engine->snoop();
    auto reason = posted.get_future();
    ASSERT_EQ(reason.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(reason.get(), "Couldn't bind UDP socket to 0.0.0.0:" + std::to_string(engine->port) + ": Address already in use");
    EXPECT_TRUE(engine->waitUntilStopped(5s));
    setExceptionSink({});

    holder.reset();
    engine->snoop();
    EXPECT_TRUE(engine->isVirtuallyRunning());
    EXPECT_EQ(engine->waitUntilStopped(300ms), false) << "the retried run ended by itself";
    engine->suspend();
    EXPECT_TRUE(engine->waitUntilStopped(5s));
    setLogSink({});
}
