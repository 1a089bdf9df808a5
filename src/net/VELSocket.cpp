#include "net/VELSocket.h"
#include "net/Ip.h"
#include "net/PollDescriptor.h"
#include "platform/Exception.h"
#include "platform/Format.h"

#include <arpa/inet.h>
#include <cxxabi.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>
#include <utility>

namespace {

sockaddr_in socketAddress(std::uint32_t address, std::uint16_t port)
{
    sockaddr_in result {};
    result.sin_family = AF_INET;
    result.sin_port = htons(port);
    result.sin_addr.s_addr = htonl(address);
    return result;
}

std::string demangledName(const std::type_info& type)
{
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> name(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), &std::free);
    return status == 0 && name ? name.get() : type.name();
}

} // namespace

VELSocket::~VELSocket() { close(); }

VELSocket::VELSocket(VELSocket&& other) noexcept
    : m_sd(std::exchange(other.m_sd, -1))
    , m_boundPort(other.m_boundPort)
{
}

VELSocket& VELSocket::operator=(VELSocket&& other) noexcept
{
    if (this != &other) {
        close();
        m_sd = std::exchange(other.m_sd, -1);
        m_boundPort = other.m_boundPort;
    }
    return *this;
}

std::optional<Exception> VELSocket::open()
{
    try {
        openSocket();
        return std::nullopt;
    } catch (const Exception& exception) {
        close();
        return exception;
    }
}

void VELSocket::openSocket()
{
    Exception::raise("Dont' use abstract socket class %s", demangledName(typeid(*this)).c_str());
}

void VELSocket::openSocketForFamily(int family, int type, int protocol)
{
    // Opening an open socket would otherwise leak its descriptor.
    close();
    m_sd = ::socket(family, type, protocol);
}

void VELSocket::close()
{
    if (m_sd == -1)
        return;
    ::close(m_sd);
    m_sd = -1;
}

bool VELSocket::setOption(int level, int option, bool enable)
{
    const std::int32_t value = enable ? 1 : 0;
    return setsockopt(m_sd, level, option, &value, sizeof value) != -1;
}

void VELSocket::enableBroadcast(bool enable)
{
    if (!setOption(SOL_SOCKET, SO_BROADCAST, enable))
        Exception::raise("Couldn't enable socket to broadcast (SO_BROADCAST): %s", errnoText().c_str());
}

void VELSocket::enableReusePort(bool enable)
{
    if (!setOption(SOL_SOCKET, SO_REUSEPORT, enable))
        Exception::raise("Couldn't enable socket to reuse port (SO_REUSEPORT): %s", errnoText().c_str());
}

int VELSocket::setReceiveBufferSize(int bytes)
{
    if (setsockopt(m_sd, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes) == -1)
        Exception::raise("Couldn't size the socket's receive buffer (SO_RCVBUF): %s", errnoText().c_str());
    int granted = 0;
    socklen_t length = sizeof granted;
    if (getsockopt(m_sd, SOL_SOCKET, SO_RCVBUF, &granted, &length) == -1)
        Exception::raise("Couldn't read the socket's receive buffer size (SO_RCVBUF): %s", errnoText().c_str());
    return granted;
}

void VELSocket::enableOutOfBandInlining(bool enable)
{
    if (!setOption(SOL_SOCKET, SO_OOBINLINE, enable))
        Exception::raise("Couldn't enable socket to receive OOB data normally (SO_OOBINLINE): %s", errnoText().c_str());
}

void VELSocket::bindSocket(const Ip& address, std::uint16_t port)
{
    m_boundPort = port;
    const sockaddr_in socketAddress = ::socketAddress(address.unsignedLong(), port);
    if (::bind(m_sd, reinterpret_cast<const sockaddr*>(&socketAddress), sizeof socketAddress) == -1) {
        const std::string error = errnoText();
        Exception::raise("Couldn't bind UDP socket to %s:%u: %s", address.description().c_str(), port, error.c_str());
    }
}

int VELSocket::poll(int milliseconds)
{
    PollDescriptor descriptor { m_sd, PollDescriptor::Readable, 0 };
    return pollDescriptors(&descriptor, 1, milliseconds);
}

void VELSocket::send(const Data& data, std::uint32_t address, std::uint16_t port)
{
    const sockaddr_in socketAddress = ::socketAddress(address, port);
    if (::sendto(m_sd, data.data(), data.size(), 0, reinterpret_cast<const sockaddr*>(&socketAddress), sizeof socketAddress)
        == -1) {
        const std::string error = errnoText();
        Exception::raise("Failed to send %d bytes over socket (%d) to %s:%u: %s", static_cast<int>(data.size()), m_sd,
            Ip(address).description().c_str(), port, error.c_str());
    }
}

void VELSocket::send(const Data& data, const Ip& address, std::uint16_t port) { send(data, address.unsignedLong(), port); }
