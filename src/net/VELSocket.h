#pragma once

#include "platform/Data.h"

#include <cstdint>
#include <optional>

class Exception;
class Ip;

// The abstract base of the datagram and raw sockets. A socket owns its descriptor:
// created unopened (isValid() false), opened by open(), closed by close() or the
// destructor. Copies are deleted, moves hand the descriptor over. Construct sockets
// directly (VELUDPBroadcastSocket socket;) or on the heap with std::make_unique.
// One thread uses a socket at a time; failing system calls raise, open() excepted.
class VELSocket {
public:
    VELSocket() = default;
    virtual ~VELSocket();
    VELSocket(const VELSocket&) = delete;
    VELSocket& operator=(const VELSocket&) = delete;
    VELSocket(VELSocket&& other) noexcept;
    VELSocket& operator=(VELSocket&& other) noexcept;

    // Runs openSocket(); an exception it raises is caught, the socket closed and the
    // exception returned instead, so the caller decides how bad it is.
    std::optional<Exception> open();
    // Creates the descriptor; the base class has none to create and raises.
    virtual void openSocket();
    // socket(2) without a check: the descriptor stays -1 when it fails.
    void openSocketForFamily(int family, int type, int protocol);

    bool isValid() const { return m_sd != -1; }
    int descriptor() const { return m_sd; }
    void close();

    void enableBroadcast(bool enable);
    void enableReusePort(bool enable);
    void enableOutOfBandInlining(bool enable);
    // Asks for a receive buffer of that many bytes; the kernel caps the request at its
    // own limit. Returns the size granted; raises when the call fails.
    int setReceiveBufferSize(int bytes);

    // Remembers the port before binding, so boundPort() tells the port tried even
    // when the bind fails.
    void bindSocket(const Ip& address, std::uint16_t port);
    std::uint16_t boundPort() const { return m_boundPort; }

    // Waits until a datagram is readable: 1 when one waits, 0 on timeout, -1 when the
    // wait failed (errno tells why). A timeout of 0 waits without limit.
    int poll(int milliseconds);

    // Sends the bytes as one datagram; raises when sendto fails.
    virtual void send(const Data& data, std::uint32_t address, std::uint16_t port);
    void send(const Data& data, const Ip& address, std::uint16_t port);

protected:
    void setBoundPort(std::uint16_t port) { m_boundPort = port; }

private:
    bool setOption(int level, int option, bool enable);

    int m_sd = -1;
    std::uint16_t m_boundPort = 0;
};
