#pragma once

#include <cstdint>

// One descriptor to wait for, in the layout pollDescriptors() expects.
struct PollDescriptor {
    static constexpr std::uint16_t Readable = 1;
    static constexpr std::uint16_t Writable = 2;

    std::int32_t fd = -1;
    std::uint16_t events = 0;  // Readable and/or Writable
    std::int16_t revents = 0;  // cleared by the caller; the call only adds bits
};

// Waits until one of the descriptors is ready or the timeout (milliseconds) passes; a
// timeout of 0 waits without limit. Returns the number of ready descriptors, 0 on
// timeout, -1 on failure with errno set. Built on select(): a descriptor that is
// negative (EBADF) or not below FD_SETSIZE (EINVAL) fails the call before any wait,
// instead of writing past the descriptor sets.
int pollDescriptors(PollDescriptor* descriptors, int count, int timeoutMilliseconds);
