// DDC/CI requests to one display over its I2C bus: Set and Get VCP Feature with the waits
// the protocol asks for between a request and its reply and between two requests.
#pragma once

#include "settings/logic/NVDdcPacket.h"

#include <chrono>
#include <cstdint>
#include <span>

// One display's DDC/CI bus, addressed at nvDdcI2cSlave.
class NVI2cPort {
public:
    virtual ~NVI2cPort() = default;
    // False when the display did not acknowledge.
    virtual bool write(std::span<const uint8_t> bytes) = 0;
    // False when fewer bytes than asked for arrived.
    virtual bool read(std::span<uint8_t> bytes) = 0;
    virtual void pause(std::chrono::milliseconds ms) = 0;
};

// The display processes a request before it can answer; and needs a rest before the next.
inline constexpr std::chrono::milliseconds nvDdcReplyDelay{100};
inline constexpr std::chrono::milliseconds nvDdcCommandInterval{50};

enum class NVDdcStatus {
    Ok,
    NoAnswer, // the request or the reply did not go through the bus
    Invalid,  // a reply arrived, but not for this request or with a wrong checksum
};

struct NVDdcResult {
    NVDdcStatus status = NVDdcStatus::NoAnswer;
    uint8_t maxValue = 0;
    uint8_t currentValue = 0; // read from an invalid reply too; 0 when nothing arrived
};

class NVDdcClient {
public:
    explicit NVDdcClient(NVI2cPort& port) : port_(port) {}
    bool setVcp(uint8_t vcp, uint8_t value);
    NVDdcResult getVcp(uint8_t vcp);

private:
    NVI2cPort& port_;
};
