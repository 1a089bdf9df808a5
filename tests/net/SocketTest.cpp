#include "net/Ip.h"
#include "net/PollDescriptor.h"
#include "net/VELSocket.h"
#include "net/VELUDPBroadcastSocket.h"
#include "net/VELUDPSocket.h"
#include "platform/Exception.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>
#include <functional>
#include <future>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

const Ip LoopbackIp(0x7F000001);
// TEST-NET-1: no interface of this machine holds it, so binding to it fails.
const Ip ForeignIp(0xC0000201);

std::string raisedReason(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Exception& exception) {
        return exception.reason();
    }
    return "(nothing raised)";
}

// A UDP socket bound to a free loopback port.
VELUDPSocket boundSocket()
{
    VELUDPSocket socket;
    EXPECT_EQ(socket.open(), std::nullopt);
    socket.bindSocket(LoopbackIp, 0);
    return socket;
}

std::uint16_t localPort(const VELSocket& socket)
{
    sockaddr_in address {};
    socklen_t length = sizeof address;
    getsockname(socket.descriptor(), reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

// Waits until a datagram is readable, failing the test after a generous deadline.
void waitForDatagram(VELSocket& socket) { ASSERT_EQ(socket.poll(5000), 1) << "no datagram within 5 s"; }

} // namespace

TEST(VELSocket, AbstractBaseCannotOpen)
{
    VELSocket socket;
    std::optional<Exception> failure = socket.open();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->name(), Exception::GenericException);
    EXPECT_EQ(failure->reason(), "Dont' use abstract socket class VELSocket");
    EXPECT_FALSE(socket.isValid());
}

TEST(VELSocket, LifecycleOpenCloseReopen)
{
    VELUDPSocket socket;
    EXPECT_FALSE(socket.isValid());
    socket.close(); // never opened: nothing happens
    EXPECT_EQ(socket.open(), std::nullopt);
    EXPECT_TRUE(socket.isValid());
    socket.close();
    socket.close();
    EXPECT_FALSE(socket.isValid());
    EXPECT_EQ(socket.open(), std::nullopt);
    EXPECT_TRUE(socket.isValid());
}

TEST(VELSocket, MovesHandTheDescriptorOver)
{
    VELUDPSocket first = boundSocket();
    const int descriptor = first.descriptor();
    VELUDPSocket second = std::move(first);
    EXPECT_FALSE(first.isValid());
    EXPECT_EQ(second.descriptor(), descriptor);
    VELUDPSocket third;
    third = std::move(second);
    EXPECT_EQ(third.descriptor(), descriptor);
    EXPECT_FALSE(second.isValid());
}

TEST(VELSocket, FailedBindRaisesAndKeepsThePortTried)
{
    VELUDPSocket socket;
    ASSERT_EQ(socket.open(), std::nullopt);
    EXPECT_EQ(socket.boundPort(), 0);
    EXPECT_EQ(raisedReason([&] { socket.bindSocket(ForeignIp, 27961); }),
        "Couldn't bind UDP socket to 192.0.2.1:27961: Cannot assign requested address");
    EXPECT_EQ(socket.boundPort(), 27961);
    EXPECT_TRUE(socket.isValid());
}

// Every failing call raises with its own message and the system's error text.
TEST(VELSocket, FailuresOnAClosedSocketRaiseTheirMessages)
{
    VELUDPSocket socket;
    const struct {
        const char* name;
        std::function<void()> action;
        const char* reason;
    } cases[] = {
        { "broadcast", [&] { socket.enableBroadcast(true); },
            "Couldn't enable socket to broadcast (SO_BROADCAST): Bad file descriptor" },
        { "reuse port", [&] { socket.enableReusePort(true); },
            "Couldn't enable socket to reuse port (SO_REUSEPORT): Bad file descriptor" },
        { "oob", [&] { socket.enableOutOfBandInlining(true); },
            "Couldn't enable socket to receive OOB data normally (SO_OOBINLINE): Bad file descriptor" },
        { "send", [&] { socket.send(dataFromString("abc"), LoopbackIp, 9); },
            "Failed to send 3 bytes over socket (-1) to 127.0.0.1:9: Bad file descriptor" },
        { "receive", [&] { socket.receive(); }, "Couldn't read from socket: Bad file descriptor" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(raisedReason(c.action), c.reason);
    }
    EXPECT_EQ(socket.lastSender(), Ip::any());
    EXPECT_EQ(socket.lastPort(), 0);
}

TEST(VELSocket, OptionsSucceedOnAnOpenSocket)
{
    VELUDPBroadcastSocket socket;
    ASSERT_EQ(socket.open(), std::nullopt);
    int broadcast = 0;
    socklen_t length = sizeof broadcast;
    getsockopt(socket.descriptor(), SOL_SOCKET, SO_BROADCAST, &broadcast, &length);
    EXPECT_EQ(broadcast, 1) << "a broadcast socket opens with SO_BROADCAST";
    EXPECT_NO_THROW(socket.enableReusePort(true));
    EXPECT_NO_THROW(socket.enableOutOfBandInlining(false));
    EXPECT_NO_THROW(socket.enableBroadcast(false));
}

TEST(VELSocket, PollTimesOutOrReturnsAtOnce)
{
    VELUDPSocket receiver = boundSocket();
    const auto start = Clock::now();
    EXPECT_EQ(receiver.poll(100), 0);
    const auto waited = Clock::now() - start;
    EXPECT_GE(waited, milliseconds(95));
    EXPECT_LT(waited, milliseconds(2000));

    VELUDPSocket sender = boundSocket();
    sender.send(dataFromString("x"), LoopbackIp, localPort(receiver));
    waitForDatagram(receiver);
    const auto again = Clock::now();
    EXPECT_EQ(receiver.poll(10000), 1);
    EXPECT_LT(Clock::now() - again, milliseconds(1000));
}

// 0 is no limit, not "return at once": the wait ends with a datagram sent later.
TEST(VELSocket, PollWithZeroWaitsWithoutLimit)
{
    VELUDPSocket receiver = boundSocket();
    auto waiting = std::async(std::launch::async, [&] { return receiver.poll(0); });
    EXPECT_EQ(waiting.wait_for(milliseconds(50)), std::future_status::timeout);
    VELUDPSocket sender = boundSocket();
    sender.send(dataFromString("x"), LoopbackIp, localPort(receiver));
    ASSERT_EQ(waiting.wait_for(milliseconds(5000)), std::future_status::ready);
    EXPECT_EQ(waiting.get(), 1);
}

TEST(VELUDPSocket, ReceiveCutsLongDatagramsAndTakesEmptyOnes)
{
    VELUDPSocket receiver = boundSocket();
    VELUDPSocket sender = boundSocket();
    EXPECT_EQ(receiver.lastSender(), Ip::any());
    EXPECT_EQ(receiver.lastPort(), 0);

    Data big(5000);
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<std::uint8_t>(i * 7);
    sender.send(big, LoopbackIp, localPort(receiver));
    waitForDatagram(receiver);
    EXPECT_EQ(receiver.receive(), Data(big.begin(), big.begin() + VELUDPSocket::ReceiveBufferSize));
    EXPECT_EQ(receiver.poll(50), 0) << "the cut-off rest is not a datagram of its own";

    sender.send(Data {}, LoopbackIp, localPort(receiver));
    waitForDatagram(receiver);
    EXPECT_EQ(receiver.receive(), Data {});
    EXPECT_EQ(receiver.lastSender(), LoopbackIp);
    EXPECT_EQ(receiver.lastPort(), localPort(sender));
}

TEST(VELUDPSocket, ReplyReachesTheSender)
{
    VELUDPSocket server = boundSocket();
    VELUDPSocket client = boundSocket();
    client.send(dataFromString("\xFF\xFF\xFF\xFFgetinfo xxx"), LoopbackIp, localPort(server));
    waitForDatagram(server);
    server.receive();
    server.reply(dataFromString("answer"));
    waitForDatagram(client);
    EXPECT_EQ(client.receive(), dataFromString("answer"));
    EXPECT_EQ(client.lastSender(), LoopbackIp);
    EXPECT_EQ(client.lastPort(), localPort(server));
}

TEST(PollDescriptors, ReportsReadinessPerDescriptor)
{
    VELUDPSocket quiet = boundSocket();
    VELUDPSocket busy = boundSocket();
    busy.send(dataFromString("x"), LoopbackIp, localPort(busy));
    waitForDatagram(busy);
    PollDescriptor descriptors[] = {
        { quiet.descriptor(), PollDescriptor::Readable, 0 },
        { busy.descriptor(), PollDescriptor::Readable | PollDescriptor::Writable, 0 },
    };
    EXPECT_EQ(pollDescriptors(descriptors, 2, 1000), 2); // busy counts once per set
    EXPECT_EQ(descriptors[0].revents, 0);
    EXPECT_EQ(descriptors[1].revents, PollDescriptor::Readable | PollDescriptor::Writable);
}

// Descriptors a select() set cannot hold fail the call instead of writing past the set.
TEST(PollDescriptors, RefusesDescriptorsOutsideTheSet)
{
    const struct {
        int fd;
        int error;
    } cases[] = { { FD_SETSIZE, EINVAL }, { FD_SETSIZE + 4000, EINVAL }, { -1, EBADF } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fd);
        PollDescriptor descriptor { c.fd, PollDescriptor::Readable, 0 };
        errno = 0;
        EXPECT_EQ(pollDescriptors(&descriptor, 1, 10), -1);
        EXPECT_EQ(errno, c.error);
        EXPECT_EQ(descriptor.revents, 0);
    }
}
