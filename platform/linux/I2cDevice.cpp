#include "platform/linux/I2cDevice.h"

#include "core/log/NVLog.h"

#include <fcntl.h>
#include <linux/i2c-dev.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

std::unique_ptr<I2cDevice> I2cDevice::open(int bus, uint8_t slave, const std::string& devDir)
{
    const std::string path = devDir + "/i2c-" + std::to_string(bus);
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        nv_log("i2c: cannot open %s: %s", path.c_str(), std::strerror(errno));
        return nullptr;
    }
    if (::ioctl(fd, I2C_SLAVE, static_cast<unsigned long>(slave)) < 0) {
        nv_log("i2c: %s: address 0x%02x: %s", path.c_str(), slave, std::strerror(errno));
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<I2cDevice>(new I2cDevice(fd));
}

I2cDevice::~I2cDevice()
{
    ::close(fd_);
}

bool I2cDevice::write(const uint8_t* bytes, size_t size)
{
    ssize_t n;
    do
        n = ::write(fd_, bytes, size);
    while (n < 0 && errno == EINTR);
    return n == static_cast<ssize_t>(size);
}

bool I2cDevice::read(uint8_t* bytes, size_t size)
{
    ssize_t n;
    do
        n = ::read(fd_, bytes, size);
    while (n < 0 && errno == EINTR);
    return n == static_cast<ssize_t>(size);
}
