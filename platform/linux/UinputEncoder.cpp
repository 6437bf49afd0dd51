#include "platform/linux/UinputEncoder.h"

#include <cerrno>
#include <unistd.h>

void UinputFrame::add(uint16_t type, uint16_t code, int32_t value)
{
    if (count_ == kCapacity)
        return;
    input_event& e = events_[count_++];
    e = input_event{};
    e.type = type;
    e.code = code;
    e.value = value;
}

bool UinputFrame::writeTo(int fd) const
{
    if (count_ == 0)
        return true;
    ssize_t n;
    do {
        n = ::write(fd, events_, bytes());
    } while (n < 0 && errno == EINTR);
    return n == static_cast<ssize_t>(bytes());
}
