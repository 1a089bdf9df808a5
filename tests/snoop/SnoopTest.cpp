// The engine runs here with sockets that record their broadcasts instead of sending
// them; answers and replies travel over loopback only.

#include "../net/FakeResolver.h"
#include "net/VELRawUDPBroadcastSocket.h"
#include "net/VELUDPBroadcastSocket.h"
#include "platform/Exception.h"
#include "platform/ExceptionFunnel.h"
#include "platform/Log.h"
#include "snoop/Snoop.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t broadcastAddress = 0xFFFFFFFF;
constexpr std::uint32_t loopback = 0x7F000001;

struct Broadcast {
    std::string route; // "raw" or "plain"
    std::uint16_t port;
    std::uint64_t sweep;
    bool operator==(const Broadcast&) const = default;
};

struct Recorder {
    std::mutex mutex;
    std::vector<Broadcast> broadcasts;
    std::function<std::uint64_t()> sweep;

    void record(std::string route, std::uint16_t port)
    {
        std::lock_guard lock(mutex);
        broadcasts.push_back({ std::move(route), port, sweep() });
    }
    std::vector<Broadcast> taken()
    {
        std::lock_guard lock(mutex);
        return broadcasts;
    }
};

// Records broadcasts; anything else may only go to loopback.
class RecordingSocket final : public VELUDPBroadcastSocket {
public:
    RecordingSocket(std::shared_ptr<Recorder> recorder, bool openFails)
        : m_recorder(std::move(recorder)), m_openFails(openFails) { }

    void openSocket() override
    {
        if (m_openFails)
            Exception::raise("Couldn't open UDP socket: test");
        VELUDPBroadcastSocket::openSocket();
    }
    void send(const Data& data, std::uint32_t address, std::uint16_t port) override
    {
        if (address == broadcastAddress)
            return m_recorder->record("plain", port);
        ASSERT_EQ(address >> 24, 127u) << "a test socket may only send to loopback";
        VELUDPBroadcastSocket::send(data, address, port);
    }
    using VELSocket::send;

private:
    std::shared_ptr<Recorder> m_recorder;
    bool m_openFails;
};

// A raw socket that opens without a descriptor (or is refused) and never sends.
class RecordingRawSocket final : public VELRawUDPBroadcastSocket {
public:
    RecordingRawSocket(std::shared_ptr<Recorder> recorder, bool allowed)
        : m_recorder(std::move(recorder)), m_allowed(allowed) { }

    void openSocket() override
    {
        if (!m_allowed)
            Exception::raise("Raw socket generation for protocol 255 failed Operation not permitted");
    }
    void send(const Data&, std::uint32_t, std::uint16_t port) override { m_recorder->record("raw", port); }
    using VELSocket::send;

private:
    std::shared_ptr<Recorder> m_recorder;
    bool m_allowed;
};

std::uint16_t freeLoopbackPort()
{
    int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(loopback);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

class TestSnoop final : public Snoop {
public:
    std::uint32_t ports = 2;
    std::uint16_t port = freeLoopbackPort();
    bool rawAllowed = true;
    bool plainOpenFails = false;
    std::optional<Data> reply;
    std::function<void(const Data&)> onAnswer;
    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();

    std::mutex mutex;
    std::vector<std::pair<Data, std::uint32_t>> answers;

    TestSnoop() { recorder->sweep = [this] { return sweepCount(); }; }

    std::uint16_t startPort() const override { return 40000; }
    std::uint32_t nPorts() const override { return ports; }
    std::uint16_t receivePort() const override { return port; }
    Data serverRequest() const override { return dataFromString("ask"); }
    std::optional<Data> handleAnswer(const Data& datagram, const Ip& sender, std::uint16_t) override
    {
        if (onAnswer)
            onAnswer(datagram);
        std::lock_guard lock(mutex);
        answers.emplace_back(datagram, sender.unsignedLong());
        return reply;
    }
    std::unique_ptr<VELUDPBroadcastSocket> makeSocket() const override
    {
        return std::make_unique<RecordingSocket>(recorder, plainOpenFails);
    }
    std::unique_ptr<VELRawUDPBroadcastSocket> makeRawSocket() const override
    {
        return std::make_unique<RecordingRawSocket>(recorder, rawAllowed);
    }
    std::size_t answerCount()
    {
        std::lock_guard lock(mutex);
        return answers.size();
    }
};

// Waits for a condition with a deadline instead of sleeping a fixed time.
template<typename Condition>
bool eventually(Condition condition, std::chrono::milliseconds timeout = 5s)
{
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

// A UDP socket on a loopback address of the test's choosing, to play a server.
class LoopbackPeer {
public:
    explicit LoopbackPeer(std::uint32_t address)
    {
        m_socket.open();
        m_socket.bindSocket(Ip(address), 0);
    }
    void sendTo(std::uint16_t port, const std::string& text) { m_socket.send(dataFromString(text), Ip(loopback), port); }
    std::optional<Data> receive(int milliseconds)
    {
        if (m_socket.poll(milliseconds) != 1)
            return std::nullopt;
        return m_socket.receive();
    }

private:
    VELUDPSocket m_socket;
};

class SnoopTest : public testing::Test {
protected:
    // This host is 127.0.0.1; peers on 127.0.0.2 count as other hosts.
    ResolverScope scope { std::make_shared<FakeResolver>() };
    std::shared_ptr<TestSnoop> engine = std::make_shared<TestSnoop>();

    void TearDown() override
    {
        engine->suspend();
        EXPECT_TRUE(engine->waitUntilStopped(5s));
        setExceptionSink({});
        setLogSink({});
    }

    void runSweeps(std::uint64_t sweeps)
    {
        engine->snoop();
        ASSERT_TRUE(eventually([&] { return engine->sweepCount() >= sweeps; }, 10s));
        engine->suspend();
        ASSERT_TRUE(engine->waitUntilStopped(5s));
    }
};

struct SpeedCase {
    std::int32_t speed;
    std::int32_t pollSleepValue;
    std::uint32_t sleepValue;
    std::int32_t smartTimeoutValueMs;
    std::int32_t registrySeconds;
};

TEST_F(SnoopTest, SpeedTableAndItsConversions)
{
    const SpeedCase cases[] = { { -1, 1000, 10, 161000, 161 }, { 0, 500, 4, 33000, 33 }, { 1, 250, 2, 9000, 9 }, { 2, 100, 1, 2600, 3 } };
    engine->ports = 4;
    for (const auto& expected : cases) {
        SCOPED_TRACE(expected.speed);
        engine->setSnoopSpeed(expected.speed);
        EXPECT_EQ(engine->snoopSpeed(), expected.speed);
        EXPECT_EQ(engine->psychologicalFrequency(), expected.pollSleepValue);
        EXPECT_EQ(engine->sleepValue(), expected.sleepValue);
        EXPECT_EQ(engine->sleepTimer(), expected.sleepValue);
        EXPECT_EQ(engine->smartTimeoutValueMs(), expected.smartTimeoutValueMs);
        EXPECT_EQ((engine->smartTimeoutValueMs() + 500) / 1000, expected.registrySeconds);
    }
}

TEST_F(SnoopTest, SetSnoopSpeedReportsChangesAndRejectsOutOfRange)
{
    EXPECT_EQ(engine->snoopSpeed(), 0);
    EXPECT_FALSE(engine->setSnoopSpeed(0));
    EXPECT_TRUE(engine->setSnoopSpeed(1));
    for (std::int32_t wrong : { 3, -2, INT32_MIN, INT32_MAX }) {
        SCOPED_TRACE(wrong);
        try {
            engine->setSnoopSpeed(wrong);
            ADD_FAILURE() << "no exception";
        } catch (const Exception& exception) {
            EXPECT_EQ(exception.name(), Exception::InternalInconsistencyException);
            EXPECT_EQ(exception.reason(), "You setSnoopSpeed incorrectly");
        }
        EXPECT_EQ(engine->snoopSpeed(), 1);
    }
}

TEST_F(SnoopTest, SendsEverySecondSweepAtTopSpeedHighestPortFirst)
{
    engine->setSnoopSpeed(2);
    engine->rawAllowed = false;
    runSweeps(5);
    auto sent = engine->recorder->taken();
    ASSERT_GE(sent.size(), 6u);
    const std::vector<Broadcast> expected { { "plain", 40001, 0 }, { "plain", 40000, 0 }, { "plain", 40001, 2 },
        { "plain", 40000, 2 }, { "plain", 40001, 4 }, { "plain", 40000, 4 } };
    EXPECT_EQ(std::vector<Broadcast>(sent.begin(), sent.begin() + 6), expected);
}

TEST_F(SnoopTest, SendsEveryThirdSweepAtSpeedOne)
{
    engine->setSnoopSpeed(1);
    engine->ports = 1;
    engine->rawAllowed = false;
    runSweeps(7);
    auto sent = engine->recorder->taken();
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent[0].sweep, 0u);
    EXPECT_EQ(sent[1].sweep, 3u);
    EXPECT_EQ(sent[2].sweep, 6u);
}

TEST_F(SnoopTest, RawAndPlainTakeTurnsAcrossRestarts)
{
    engine->setSnoopSpeed(1);
    engine->ports = 1;
    runSweeps(1);
    runSweeps(engine->sweepCount() + 4);
    std::vector<std::string> routes;
    for (const auto& broadcast : engine->recorder->taken())
        routes.push_back(broadcast.route);
    ASSERT_GE(routes.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(routes.begin(), routes.begin() + 3), (std::vector<std::string> { "raw", "plain", "raw" }));
}

TEST_F(SnoopTest, WithoutRawPrivilegeEveryBroadcastIsPlain)
{
    engine->setSnoopSpeed(2);
    engine->rawAllowed = false;
    runSweeps(3);
    for (const auto& broadcast : engine->recorder->taken())
        EXPECT_EQ(broadcast.route, "plain");
}

TEST_F(SnoopTest, HandsOtherHostsAnswersOverAndRepliesDroppingItsOwn)
{
    engine->setSnoopSpeed(2);
    engine->reply = dataFromString("thanks");
    engine->snoop();
    LoopbackPeer self(loopback);
    LoopbackPeer other(0x7F000002);
    // The engine may not be listening yet: repeat until it has heard the other host.
    ASSERT_TRUE(eventually([&] {
        self.sendTo(engine->port, "mine");
        other.sendTo(engine->port, "theirs");
        return engine->answerCount() > 0;
    }));
    auto reply = other.receive(2000);
    ASSERT_TRUE(reply);
    EXPECT_EQ(*reply, dataFromString("thanks"));
    std::lock_guard lock(engine->mutex);
    for (const auto& [datagram, sender] : engine->answers) {
        EXPECT_EQ(datagram, dataFromString("theirs"));
        EXPECT_EQ(sender, 0x7F000002u);
    }
}

TEST_F(SnoopTest, AStreamOfDatagramsNeitherStallsTheSweepNorHidesAStop)
{
    engine->setSnoopSpeed(2);
    engine->snoop();
    std::atomic<bool> streaming { true };
    std::thread stream([&] {
        LoopbackPeer other(0x7F000002);
        while (streaming) {
            other.sendTo(engine->port, "chatter");
            std::this_thread::sleep_for(5ms);
        }
    });
    EXPECT_TRUE(eventually([&] { return engine->sweepCount() >= 4; }, 3s));
    engine->suspend();
    EXPECT_TRUE(engine->waitUntilStopped(1s));
    streaming = false;
    stream.join();
    EXPECT_GT(engine->answerCount(), 0u);
}

TEST_F(SnoopTest, StateFollowsTheThread)
{
    std::vector<std::string> lines;
    std::mutex linesMutex;
    setLogSink([&](const std::string& line) { std::lock_guard lock(linesMutex); lines.push_back(line); });
    EXPECT_FALSE(engine->isRunning());
    EXPECT_FALSE(engine->isVirtuallyRunning());
    EXPECT_FALSE(engine->isUncontrollable());

    engine->snoop();
    EXPECT_TRUE(engine->isVirtuallyRunning());
    EXPECT_TRUE(engine->isRunning());
    EXPECT_FALSE(engine->isUncontrollable());
    EXPECT_THROW(engine->snoop(), Exception);

    engine->suspend();
    EXPECT_TRUE(engine->isRunning());
    EXPECT_FALSE(engine->isVirtuallyRunning());
    EXPECT_TRUE(engine->isUncontrollable());
    try {
        engine->snoop();
        ADD_FAILURE() << "a stopping thread still counts";
    } catch (const Exception& exception) {
        EXPECT_EQ(exception.reason().rfind("Trying to run two threads on the same object <", 0), 0u) << exception.reason();
    }
    ASSERT_TRUE(engine->waitUntilStopped(5s));
    EXPECT_FALSE(engine->isUncontrollable());
    EXPECT_FALSE(engine->isValid());

    engine->resume();
    EXPECT_FALSE(engine->isRunning());
    EXPECT_FALSE(engine->isVirtuallyRunning());
    std::lock_guard lock(linesMutex);
    EXPECT_EQ(lines.back(), "resume is stupid");
}

TEST_F(SnoopTest, AnExceptionEndsTheRunThroughTheFunnel)
{
    std::mutex mutex;
    std::vector<std::string> lines;
    std::vector<std::string> posted;
    setLogSink([&](const std::string& line) {
        std::lock_guard lock(mutex);
        if (line.find("handling exception") != std::string::npos)
            lines.push_back(line);
    });
    setExceptionSink([&](const Exception& exception) { std::lock_guard lock(mutex); posted.push_back(exception.reason()); });
    engine->onAnswer = [](const Data&) { Exception::raise("handler broke"); };
    engine->snoop();
    LoopbackPeer other(0x7F000002);
    ASSERT_TRUE(eventually([&] {
        other.sendTo(engine->port, "boom");
        return !engine->isRunning();
    }));
    std::lock_guard lock(mutex);
    EXPECT_EQ(posted, std::vector<std::string> { "handler broke" });
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("{name = engine} handling exception"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("{name = engine} thru handling exception"), std::string::npos) << lines[1];
    EXPECT_FALSE(engine->isValid());
}

TEST_F(SnoopTest, APlainSocketThatWillNotOpenEndsTheRun)
{
    std::mutex mutex;
    std::vector<std::string> posted;
    setLogSink([](const std::string&) { });
    setExceptionSink([&](const Exception& exception) { std::lock_guard lock(mutex); posted.push_back(exception.reason()); });
    engine->plainOpenFails = true;
    engine->snoop();
    ASSERT_TRUE(engine->waitUntilStopped(5s));
    std::lock_guard lock(mutex);
    EXPECT_EQ(posted, std::vector<std::string> { "Couldn't open UDP socket: test" });
    EXPECT_TRUE(engine->recorder->taken().empty());
}

}
