#include "snoop/Snoop.h"
#include "net/Ip.h"
#include "net/VELRawUDPBroadcastSocket.h"
#include "net/VELUDPBroadcastSocket.h"
#include "platform/AssertionHandler.h"
#include "platform/Exception.h"
#include "platform/ExceptionFunnel.h"
#include "platform/Format.h"
#include "platform/Log.h"
#include "platform/Thread.h"

#include <cerrno>
#include <cxxabi.h>
#include <thread>
#include <typeinfo>

namespace {

// Indexed by speed + 1.
constexpr std::uint32_t pollSleepValues[] = { 1000, 500, 250, 100 };
constexpr std::uint32_t sleepValues[] = { 10, 4, 2, 1 };

// Every server on the LAN answers a broadcast at once. The default buffer holds a few
// hundred small datagrams, and the kernel drops the rest of a burst while this thread
// is still handling the first answers; 2 MiB holds thousands.
constexpr int answerBurstBytes = 2 * 1024 * 1024;

}

Snoop::Snoop()
{
    _setSnoopSpeed();
}

Snoop::~Snoop()
{
    m_doSnoop = false;
    close();
}

void Snoop::snoop()
{
    if (m_thread.exchange(true))
        Exception::raise("Trying to run two threads on the same object %s", description().c_str());
    auto self = weak_from_this().lock();
    if (!self) {
        m_thread = false;
        Exception::raise("%s must be owned by a std::shared_ptr to run", description().c_str());
    }
    // Set here rather than by the new thread, so that a suspend() right after snoop()
    // is not overwritten and lost.
    m_doSnoop = true;
    try {
        std::thread([self] { self->_snoop(); }).detach();
    } catch (const std::system_error& error) {
        m_thread = false;
        Exception::raise("Couldn't start the engine thread: %s", error.what());
    }
}

void Snoop::suspend()
{
    m_doSnoop = false;
}

void Snoop::resume()
{
    logMessage("resume is stupid");
    m_doSnoop = true;
}

bool Snoop::waitUntilStopped(std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(m_endMutex);
    return m_ended.wait_for(lock, timeout, [this] { return !m_thread; });
}

bool Snoop::setSnoopSpeed(std::int32_t speed)
{
    if (speed == m_snoopSpeed)
        return false;
    HK_ASSERT(static_cast<std::uint32_t>(speed) + 1u <= 3u, "Snoop", 405, "You setSnoopSpeed incorrectly");
    m_snoopSpeed = speed;
    _setSnoopSpeed();
    return true;
}

void Snoop::_setSnoopSpeed()
{
    auto index = static_cast<std::size_t>(m_snoopSpeed + 1);
    m_sleepValue = sleepValues[index];
    m_sleepTimer = sleepValues[index];
    m_pollSleepValue = pollSleepValues[index];
}

std::int32_t Snoop::smartTimeoutValueMs() const
{
    return static_cast<std::int32_t>(nPorts() * m_pollSleepValue * m_sleepValue * 4 + 1000);
}

std::unique_ptr<VELUDPBroadcastSocket> Snoop::makeSocket() const
{
    return std::make_unique<VELUDPBroadcastSocket>();
}

std::unique_ptr<VELRawUDPBroadcastSocket> Snoop::makeRawSocket() const
{
    return std::make_unique<VELRawUDPBroadcastSocket>();
}

void Snoop::prepare()
{
    if (!m_rawSocket) {
        auto rawSocket = makeRawSocket();
        // Without the privilege for raw sockets every broadcast goes the plain way.
        if (!rawSocket->open()) {
            rawSocket->setPort(receivePort());
            m_rawSocket = std::move(rawSocket);
        }
    }
    if (!m_socket) {
        auto socket = makeSocket();
        if (auto failure = socket->open())
            throw *failure;
        socket->enableReusePort(true);
        socket->bindSocket(Ip::any(), receivePort());
        socket->setReceiveBufferSize(answerBurstBytes);
        m_socket = std::move(socket);
    }
}

bool Snoop::isValid() const
{
    return m_socket && m_socket->isValid();
}

void Snoop::close()
{
    m_rawSocket.reset();
    m_socket.reset();
}

void Snoop::broadcast(const Data& data, std::uint16_t port)
{
    if (m_rawSocket && !m_flipFlop)
        m_rawSocket->broadcast(data, port);
    else
        m_socket->broadcast(data, port);
}

std::string Snoop::description() const
{
    int status = 0;
    char* name = abi::__cxa_demangle(typeid(*this).name(), nullptr, nullptr, &status);
    std::string text = stringWithFormat("<%s: %p>", status == 0 ? name : typeid(*this).name(), static_cast<const void*>(this));
    std::free(name);
    return text;
}

namespace {

// The road of every exception that reaches the top of a worker thread.
void handOver(const Exception& exception)
{
    logMessage("%s handling exception", currentThreadDescription().c_str());
    postExceptionToApplication(exception);
    logMessage("%s thru handling exception", currentThreadDescription().c_str());
}

}

void Snoop::_snoop()
{
    setCurrentThreadName("engine");
    try {
        runSweeps();
    } catch (const Exception& exception) {
        handOver(exception);
    } catch (const std::exception& error) {
        // Anything else (such as bad_alloc) takes the same road, as a generic failure.
        handOver(Exception(Exception::GenericException, error.what()));
    } catch (...) {
        handOver(Exception(Exception::GenericException, "Unknown exception on the engine thread"));
    }
    close();
    threadEnded();
}

void Snoop::threadEnded()
{
    std::lock_guard lock(m_endMutex);
    m_thread = false;
    m_ended.notify_all();
}

void Snoop::runSweeps()
{
    if (!isValid())
        prepare();
    if (!isValid())
        Exception::raise("Programmers mistake");
    const Data request = serverRequest();
    // The first sweep sends.
    m_sleepTimer = 0;
    while (m_doSnoop) {
        if (m_sleepTimer == 0) {
            _poll(request, true);
            m_sleepTimer = m_sleepValue.load();
            m_flipFlop = !m_flipFlop;
        } else {
            _poll(request, false);
            --m_sleepTimer;
        }
        ++m_sweepCount;
    }
}

bool Snoop::_poll(const Data& request, bool sendStuff)
{
    bool handled = false;
    // Highest port first.
    for (auto n = static_cast<std::int64_t>(nPorts()) - 1; n >= 0; --n) {
        if (sendStuff)
            broadcast(request, static_cast<std::uint16_t>(startPort() + n));
        // One poll timeout per port, however many datagrams arrive meanwhile: a steady
        // stream must neither stall the sweep on one port nor keep a stop request unseen.
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_pollSleepValue.load());
        for (Heard heard; (heard = listen(until)) != Heard::Nothing;)
            handled = handled || heard == Heard::Answer;
        if (!m_doSnoop)
            break;
    }
    return handled;
}

// Waits for a datagram until the port's listening time is over and handles it. A
// datagram this host sent, or one from a broadcast address, is dropped unseen.
Snoop::Heard Snoop::listen(std::chrono::steady_clock::time_point until)
{
    auto remaining = std::chrono::ceil<std::chrono::milliseconds>(until - std::chrono::steady_clock::now()).count();
    // A poll of 0 ms would wait forever.
    if (remaining <= 0)
        return Heard::Nothing;
    int ready = m_socket->poll(static_cast<int>(remaining));
    // A signal that interrupts the wait is no failure of the socket.
    if (ready == -1 && errno == EINTR)
        return Heard::Ignored;
    if (ready == -1)
        Exception::raise("Polling from socket failed miserably: %s", errnoText().c_str());
    if (ready != 1)
        return Heard::Nothing;
    Data datagram = m_socket->receive();
    Ip sender = m_socket->lastSender();
    if (sender == Ip::local() || sender.isBroadcastAddress())
        return Heard::Ignored;
    if (auto reply = handleAnswer(datagram, sender, m_socket->lastPort()); reply && !reply->empty())
        m_socket->reply(*reply);
    return Heard::Answer;
}
