// One device on a Linux I2C bus through i2c-dev (/dev/i2c-N): plain reads and writes at a
// 7-bit slave address.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class I2cDevice {
public:
    // Null when the bus cannot be opened (absent, no permission) or the address not set;
    // the log says why.
    static std::unique_ptr<I2cDevice> open(int bus, uint8_t slave, const std::string& devDir = "/dev");
    ~I2cDevice();
    I2cDevice(const I2cDevice&) = delete;
    I2cDevice& operator=(const I2cDevice&) = delete;

    // False when the device did not acknowledge or took fewer bytes.
    bool write(const uint8_t* bytes, size_t size);
    // False when fewer bytes arrived.
    bool read(uint8_t* bytes, size_t size);

private:
    explicit I2cDevice(int fd) : fd_(fd) {}
    int fd_;
};
