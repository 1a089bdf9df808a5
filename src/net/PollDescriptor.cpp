#include "net/PollDescriptor.h"

#include <sys/select.h>

#include <cerrno>

namespace {

// FD_SET with a descriptor outside the set writes past it; refuse such a call instead.
bool fitsDescriptorSet(int fd)
{
    if (fd < 0) {
        errno = EBADF;
        return false;
    }
    if (fd >= FD_SETSIZE) {
        errno = EINVAL;
        return false;
    }
    return true;
}

} // namespace

int pollDescriptors(PollDescriptor* descriptors, int count, int timeoutMilliseconds)
{
    fd_set readSet;
    fd_set writeSet;
    FD_ZERO(&readSet);
    FD_ZERO(&writeSet);
    int highest = 0;
    for (int i = 0; i < count; ++i) {
        const PollDescriptor& d = descriptors[i];
        if (!fitsDescriptorSet(d.fd))
            return -1;
        if (d.events & PollDescriptor::Readable)
            FD_SET(d.fd, &readSet);
        if (d.events & PollDescriptor::Writable)
            FD_SET(d.fd, &writeSet);
        if (d.fd > highest)
            highest = d.fd;
    }
    timeval limit { timeoutMilliseconds / 1000, (timeoutMilliseconds % 1000) * 1000 };
    // A timeout of 0 means no time limit.
    const int result = select(highest + 1, &readSet, &writeSet, nullptr, timeoutMilliseconds != 0 ? &limit : nullptr);
    if (result <= 0)
        return result;
    for (int i = 0; i < count; ++i) {
        PollDescriptor& d = descriptors[i];
        if (FD_ISSET(d.fd, &readSet))
            d.revents = static_cast<std::int16_t>(d.revents | PollDescriptor::Readable);
        if (FD_ISSET(d.fd, &writeSet))
            d.revents = static_cast<std::int16_t>(d.revents | PollDescriptor::Writable);
    }
    return result;
}
